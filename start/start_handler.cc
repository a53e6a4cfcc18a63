// The start handler: the story must exist, the sender must administer the
// group; then the group section is set to the story's root.
#include "start/start_handler.h"

#include "store/store.h"

namespace start {
namespace {

constexpr char kNotInGroup[] = "\xC7\xEB\xD4\xDA\xC8\xBA\xC0\xEF\xCA\xB9\xD3\xC3\xB1\xBE\xB9\xA6\xC4\xDC";  // 请在群里使用本功能
constexpr char kYourGame[] = "\xC4\xE3\xD1\xA1\xD4\xF1\xB5\xC4\xD3\xCE\xCF\xB7";                          // 你选择的游戏
constexpr char kNotConfigured[] = "\xC3\xBB\xD3\xD0\xC5\xE4\xD6\xC3\xA1\xA3";                             // 没有配置。
constexpr char kNoPermission[] =
    "\xC4\xE3\xB5\xC4\xC8\xBA\xC3\xBB\xD3\xD0\xD3\xCE\xCF\xB7\xC8\xA8\xCF\xDE\xA1\xA3";  // 你的群没有游戏权限。
constexpr char kNotAdministrator[] =
    "\xC4\xE3\xB2\xBB\xCA\xC7\xB9\xDC\xC0\xED\xA3\xAC\xCE\xDE\xBF\xAA\xC6\xF4\xD3\xCE\xCF\xB7\xC8\xA8\xCF\xDE"
    "\xA1\xA3";  // 你不是管理，无开启游戏权限。

constexpr char kAdministratorSection[] = "\xC8\xBA\xC9\xFA\xB4\xE6\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED";  // 群生存权限管理
constexpr char kStoryKey[] = "\xBD\xF8\xD0\xD0\xB5\xC4\xD3\xCE\xCF\xB7";  // 进行的游戏
constexpr char kProgressKey[] = "\xBD\xF8\xB6\xC8";                       // 进度
constexpr char kStartKey[] = "\xBF\xAA\xCA\xBC";                          // 开始
constexpr char kRootSection[] = "1";
constexpr char kAdministratorSeparator[] = "|";

}  // namespace

frame::Result StartHandler(text::Text& message, const text::Text& type, const text::Text& group,
                           const text::Text& sender) {
  text::Strip(message);
  const std::string_view story_name = text::View(message);
  if (text::Compare(text::View(type), "2") != 0) return text::Text(kNotInGroup);

  const text::Text story_path = store::StoryPath(story_name);
  if (store::ReadValue(text::View(story_path), kRootSection, kStartKey).empty())
    return text::Concat({kYourGame, story_name, kNotConfigured});

  const text::Text main_path = store::MainConfigPath();
  if (store::ReadValue(text::View(main_path), kAdministratorSection, text::View(group)).empty())
    return text::Text(kNoPermission);

  const text::Text administrators = store::ReadValue(text::View(main_path), kAdministratorSection, text::View(group));
  bool is_administrator = false;
  for (const text::Text& member : text::Split(text::View(administrators), kAdministratorSeparator))
    if (text::Compare(text::View(member), text::View(sender)) == 0) is_administrator = true;
  if (!is_administrator) return text::Text(kNotAdministrator);

  store::WriteValue(text::View(main_path), text::View(group), kStoryKey, story_name);
  store::WriteValue(text::View(main_path), text::View(group), kProgressKey, "1");
  return frame::MissingIfEmpty(store::ReadValue(text::View(story_path), kRootSection, kStartKey));
}

}  // namespace start
