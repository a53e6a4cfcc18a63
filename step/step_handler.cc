// The step handler: pause rule, the group's story and progress, then the node
// of the new path decides between ending, way on and dead end.
#include "step/step_handler.h"

#include "step/host_call.h"
#include "store/clock.h"
#include "store/store.h"
#include "store/time_stamp.h"

namespace step {
namespace {

constexpr char kTooFast[] =
    "\xC7\xEB\xCF\xC8\xBF\xB4\xC7\xE5\xB5\xB1\xC7\xB0\xBB\xB7\xBE\xB3\xD4\xD9\xD7\xF6\xD1\xA1\xD4\xF1"
    "\xA1\xA3";  // 请先看清当前环境再做选择。
constexpr char kNotPlaying[] =
    "\xB1\xBE\xC8\xBA\xC3\xBB\xD3\xD0\xBF\xAA\xC6\xF4\xB4\xF3\xC3\xB0\xCF\xD5\xA3\xAC\xC7\xEB\xC1\xAA\xCF\xB5"
    "\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED\xA1\xA3";  // 本群没有开启大冒险，请联系权限管理。
constexpr char kNoSuchNode[] = "\xC4\xE3\xD5\xE2\xCA\xC7\xD1\xA1\xB5\xBD\xC4\xC4\xC0\xEF\xC8\xA5\xC1\xCB\xA1\xA3";  // 你这是选到哪里去了。
constexpr char kStoryEnded[] = "\r\n\xB1\xBE\xB4\xCE\xB4\xF3\xC3\xB0\xCF\xD5\xBD\xE1\xCA\xF8\xA1\xA3";  // \r\n本次大冒险结束。
constexpr char kDeathNotice[] =
    "\r\n\xC4\xE3\xD2\xD1\xCB\xC0\xCD\xF6\xA3\xAC\xBD\xAB\xB7\xB5\xBB\xD8\xB3\xF5\xCA\xBC\xCE\xBB\xD6\xC3";  // \r\n你已死亡，将返回初始位置

constexpr char kTimeKey[] = "\xCA\xB1\xBC\xE4";                           // 时间
constexpr char kProgressKey[] = "\xBD\xF8\xB6\xC8";                       // 进度
constexpr char kStoryKey[] = "\xBD\xF8\xD0\xD0\xB5\xC4\xD3\xCE\xCF\xB7";  // 进行的游戏
constexpr char kNodeTextKey[] = "\xBE\xE7\xC7\xE9";                       // 剧情
constexpr char kEndingKey[] = "\xBD\xE1\xCA\xF8";                         // 结束
constexpr char kStartKey[] = "\xBF\xAA\xCA\xBC";                          // 开始
constexpr char kRootSection[] = "1";
constexpr char kFirstChoice[] = "1";

constexpr std::int64_t kPauseSeconds = 2;
// The death notice reaches the group this long before the start text.
constexpr std::int32_t kDeathPauseMs = 1000;

}  // namespace

frame::Result StepHandler(text::Text& choice, const text::Text& type, const text::Text& group) {
  text::Strip(choice);
  if (text::Compare(text::View(type), "2") != 0) return text::Text();

  const text::Text main_path = store::MainConfigPath();
  const std::string_view main = text::View(main_path);
  const std::string_view section = text::View(group);
  const store::TimeValue now = store::CurrentTime();
  const store::TimeValue last = store::TextToTime(text::View(store::ReadValue(main, section, kTimeKey)));
  if (store::ElapsedSeconds(now, last) < kPauseSeconds) return text::Text(kTooFast);

  const text::Text progress = store::ReadValue(main, section, kProgressKey);
  if (store::ReadValue(main, section, kStoryKey).empty()) return text::Text(kNotPlaying);
  const text::Text story_name = store::ReadValue(main, section, kStoryKey);

  const text::Text new_path = text::Concat({text::View(progress), text::View(choice)});
  const text::Text story_path = store::StoryPath(text::View(story_name));
  const std::string_view story = text::View(story_path);
  if (store::ReadValue(story, text::View(new_path), kNodeTextKey).empty()) return text::Text(kNoSuchNode);

  const text::Text node_text = store::ReadValue(story, text::View(new_path), kNodeTextKey);
  const text::Text ending = store::ReadValue(story, kRootSection, kEndingKey);
  if (text::Compare(text::View(node_text), text::View(ending)) == 0) {
    store::DeleteSection(main, section);
    return text::Concat({text::View(node_text), kStoryEnded});
  }

  const text::Text first_child = text::Concat({text::View(new_path), kFirstChoice});
  if (!store::ReadValue(story, text::View(first_child), kNodeTextKey).empty()) {
    store::WriteValue(main, section, kTimeKey, text::View(store::TimeToText(store::CurrentTime())));
    store::WriteValue(main, section, kProgressKey, text::View(new_path));
    return frame::MissingIfEmpty(node_text);
  }

  store::WriteValue(main, section, kProgressKey, "1");
  PostGroupMessage(group, text::Concat({text::View(node_text), kDeathNotice}));
  const text::Text start_text = store::ReadValue(story, kRootSection, kStartKey);
  store::CurrentClock().Sleep(kDeathPauseMs);
  return frame::MissingIfEmpty(start_text);
}

}  // namespace step
