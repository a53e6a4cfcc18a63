// The story tree walked from the root the way the step plugin moves a group.
#include "tools/story.h"

#include "tools/encoding.h"
#include "tools/game_names.h"

namespace tools {

std::string NodeKey(std::string_view path) {
  std::string key(path);
  for (std::size_t i = 0; i < key.size(); i += GbkCharSize(key, i))
    if (key[i] >= 'A' && key[i] <= 'Z') key[i] = static_cast<char>(key[i] - 'A' + 'a');
  return key;
}

std::string ParentPath(std::string_view path) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < path.size(); i += GbkCharSize(path, i)) last = i;
  return std::string(path.substr(0, last));
}

std::size_t CharacterCount(std::string_view gbk) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < gbk.size(); i += GbkCharSize(gbk, i)) ++n;
  return n;
}

std::vector<std::string> Choices(std::string_view path) {
  std::vector<std::string> out;
  for (std::size_t i = 1; i < path.size(); i += GbkCharSize(path, i)) out.emplace_back(path.substr(i, GbkCharSize(path, i)));
  return out;
}

Story BuildStory(const ProfileView& file) {
  Story story;
  story.start = file.Read(kRootSection, kStartKey);
  story.ending = file.Read(kRootSection, kEndingKey);
  for (const ProfileSection& s : file.sections) {
    if (file.Find(s.name) != &s) continue;
    const ProfileKey* text = file.FindKey(s, kTextKey);
    if (text == nullptr || text->read.empty()) continue;
    StoryNode node;
    node.path = s.name;
    node.text = text->read;
    node.line = s.line;
    node.text_line = text->line;
    story.nodes.emplace(NodeKey(s.name), std::move(node));
  }

  // Children in choice order: std::map keeps the paths sorted by bytes.
  std::map<std::string, std::vector<std::string>> children;
  for (const auto& [key, node] : story.nodes)
    if (key != kRootSection) children[NodeKey(ParentPath(node.path))].push_back(key);

  StoryNode& root = story.nodes[kRootSection];
  if (root.path.empty()) {
    root.path = kRootSection;
    if (const ProfileSection* s = file.Find(kRootSection)) root.line = s->line;
  }
  root.reached = true;
  story.reached.push_back(kRootSection);
  for (std::size_t next = 0; next < story.reached.size(); ++next) {
    const std::string key = story.reached[next];
    StoryNode& node = story.nodes[key];
    if (node.kind != NodeKind::kRoot && node.kind != NodeKind::kWayOn) continue;
    for (const std::string& child_key : children[key]) {
      StoryNode& child = story.nodes[child_key];
      child.depth = node.depth + 1;
      if (!story.ending.empty() && child.text == story.ending)
        child.kind = NodeKind::kEnding;
      else if (story.nodes.count(NodeKey(child.path + "1")) != 0)
        child.kind = NodeKind::kWayOn;
      else
        child.kind = NodeKind::kDeadEnd;
      child.reached = true;
      node.children.push_back(child_key);
      story.reached.push_back(child_key);
    }
  }
  return story;
}

}  // namespace tools
