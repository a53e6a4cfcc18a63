// A story file as the step plugin walks it: which nodes a group can reach by
// one-character choices, and what each of them is (a way on, a dead end, an
// ending).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/profile_view.h"

namespace tools {

enum class NodeKind { kRoot, kWayOn, kDeadEnd, kEnding };

struct StoryNode {
  std::string path;  // the section name, GBK
  std::string text;  // its "剧情" as a read returns it (at most 10239 bytes)
  int line = 0;      // of the section
  int text_line = 0; // of the "剧情" key
  NodeKind kind = NodeKind::kRoot;
  bool reached = false;               // a group can stand on it
  int depth = 0;                      // choices from the root
  std::vector<std::string> children;  // paths of the nodes one choice on, in choice order
};

struct Story {
  std::string start;   // "开始" of [1]
  std::string ending;  // "结束" of [1]
  // Every section that a read of its own name sees and that has a "剧情",
  // and the root "1" in any case, by name with ASCII letters folded to
  // lower case (NodeKey).
  std::map<std::string, StoryNode> nodes;
  // The keys of the reached nodes, nearest to the root first.
  std::vector<std::string> reached;
};

// Builds the tree. Children are the sections whose name is the parent's
// followed by one character (a byte below 0x80, or two bytes).
Story BuildStory(const ProfileView& file);

// The key of `path` in Story::nodes.
std::string NodeKey(std::string_view path);

// `path` without its last character; empty for a one-character path.
std::string ParentPath(std::string_view path);

// The number of characters of a GBK text (a byte of 0x80 or more and the
// byte after it are one).
std::size_t CharacterCount(std::string_view gbk);

// The choices from the root to `path`, one character each.
std::vector<std::string> Choices(std::string_view path);

}  // namespace tools
