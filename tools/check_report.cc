// The checker's summary of a story, the walk of every path, and JSON output.
#include <cstdio>

#include "tools/check.h"
#include "tools/encoding.h"

namespace tools {
namespace {


void Walk(const Story& story, const StoryNode& node, std::vector<const StoryNode*>* leaves) {
  if (node.kind == NodeKind::kEnding || node.kind == NodeKind::kDeadEnd) {
    leaves->push_back(&node);
    return;
  }
  for (const std::string& child : node.children) Walk(story, story.nodes.at(child), leaves);
}

std::vector<const StoryNode*> Leaves(const Story& story) {
  std::vector<const StoryNode*> leaves;
  Walk(story, story.nodes.at("1"), &leaves);
  return leaves;
}

const StoryNode* ShortestEnding(const Story& story) {
  for (const std::string& key : story.reached)
    if (story.nodes.at(key).kind == NodeKind::kEnding) return &story.nodes.at(key);
  return nullptr;
}

std::string ChoiceList(const StoryNode& node) {
  std::string out;
  for (const std::string& c : Choices(node.path)) out += (out.empty() ? "" : " ") + ShowGbk(c);
  return out;
}

struct Figures {
  std::size_t nodes = 0, reached = 0, endings = 0, deaths = 0;
  const StoryNode* deepest = nullptr;
  const StoryNode* longest = nullptr;
  std::size_t longest_characters = 0;
};

Figures Count(const Story& story) {
  Figures f;
  for (const auto& [key, node] : story.nodes) {
    if (node.text.empty()) continue;
    ++f.nodes;
    const std::size_t characters = CharacterCount(node.text);
    if (characters > f.longest_characters) {
      f.longest_characters = characters;
      f.longest = &node;
    }
    if (!node.reached || node.kind == NodeKind::kRoot) continue;
    ++f.reached;
    if (node.kind == NodeKind::kEnding) ++f.endings;
    if (node.kind == NodeKind::kDeadEnd) ++f.deaths;
    if (f.deepest == nullptr || node.depth > f.deepest->depth) f.deepest = &node;
  }
  return f;
}

std::string Json(std::string_view utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonChoices(const StoryNode& node) {
  std::string out = "[";
  for (const std::string& c : Choices(node.path)) out += (out.size() > 1 ? "," : "") + Json(ShowGbk(c));
  return out + "]";
}

}  // namespace

std::vector<std::string> FormatSummary(const Story& story, Language language) {
  const bool zh = language == Language::kChinese;
  const Figures f = Count(story);
  std::vector<std::string> lines;
  std::string s = zh ? u8"摘要：节点 " + std::to_string(f.nodes) + u8" 个（能到达 " + std::to_string(f.reached) +
                           u8" 个），结局 " + std::to_string(f.endings) + u8" 个，死亡 " + std::to_string(f.deaths) + u8" 个"
                     : "summary: " + std::to_string(f.nodes) + " nodes (" + std::to_string(f.reached) + " reachable), " +
                           std::to_string(f.endings) + " endings, " + std::to_string(f.deaths) + " deaths";
  lines.push_back(s);
  if (f.deepest != nullptr)
    lines.push_back(zh ? u8"最深路径：" + std::to_string(f.deepest->depth) + u8" 步，到 [" + ShowGbk(f.deepest->path) + "]"
                       : "deepest path: " + std::to_string(f.deepest->depth) + " choices, to [" + ShowGbk(f.deepest->path) + "]");
  if (f.longest != nullptr)
    lines.push_back(zh ? u8"最长剧情：" + std::to_string(f.longest_characters) + u8" 字，在 [" + ShowGbk(f.longest->path) +
                             u8"] 第 " + std::to_string(f.longest->text_line) + u8" 行"
                       : "longest text: " + std::to_string(f.longest_characters) + " characters, in [" +
                             ShowGbk(f.longest->path) + "] on line " + std::to_string(f.longest->text_line));
  lines.push_back(zh ? u8"每条路径（从 [1] 起的选择）：" : "every path (the choices from [1]):");
  for (const StoryNode* leaf : Leaves(story)) {
    const bool ending = leaf->kind == NodeKind::kEnding;
    lines.push_back(std::string("  ") + (zh ? (ending ? u8"结局" : u8"死亡") : (ending ? "ending" : "death ")) + "  " +
                    ChoiceList(*leaf) + "  [" + ShowGbk(leaf->path) + "] " +
                    (zh ? u8"第 " + std::to_string(leaf->text_line) + u8" 行" : "line " + std::to_string(leaf->text_line)));
  }
  const StoryNode* shortest = ShortestEnding(story);
  if (shortest != nullptr)
    lines.push_back(zh ? u8"最短的结局路径：" + ChoiceList(*shortest) + u8"（" + std::to_string(shortest->depth) + u8" 步）"
                       : "shortest path to an ending: " + ChoiceList(*shortest) + " (" +
                             std::to_string(shortest->depth) + " choices)");
  else
    lines.push_back(zh ? u8"没有任何路径到达结局" : "no path reaches an ending");
  return lines;
}

std::string FormatJson(const std::vector<Diagnostic>& diagnostics, const Story* story) {
  std::string out = "{\"diagnostics\":[";
  bool first = true;
  for (const Diagnostic& d : diagnostics) {
    const char* severity = d.severity == Severity::kError ? "error" : d.severity == Severity::kWarning ? "warning" : "note";
    out += std::string(first ? "" : ",") + "{\"file\":" + Json(d.file) + ",\"line\":" + std::to_string(d.line) +
           ",\"severity\":\"" + severity + "\",\"code\":\"" + d.code + "\",\"message\":" + Json(d.message) + "}";
    first = false;
  }
  out += "]";
  if (story != nullptr) {
    const Figures f = Count(*story);
    out += ",\"summary\":{\"nodes\":" + std::to_string(f.nodes) + ",\"reachable\":" + std::to_string(f.reached) +
           ",\"endings\":" + std::to_string(f.endings) + ",\"deaths\":" + std::to_string(f.deaths) +
           ",\"deepest\":" + std::to_string(f.deepest ? f.deepest->depth : 0) +
           ",\"longest_text_characters\":" + std::to_string(f.longest_characters) + "},\"paths\":[";
    first = true;
    for (const StoryNode* leaf : Leaves(*story)) {
      out += std::string(first ? "" : ",") + "{\"kind\":\"" + (leaf->kind == NodeKind::kEnding ? "ending" : "death") +
             "\",\"path\":" + Json(ShowGbk(leaf->path)) + ",\"choices\":" + JsonChoices(*leaf) +
             ",\"line\":" + std::to_string(leaf->text_line) + "}";
      first = false;
    }
    out += "]";
    const StoryNode* shortest = ShortestEnding(*story);
    out += ",\"shortest_ending\":" + (shortest ? JsonChoices(*shortest) : std::string("null"));
  }
  return out + "}\n";
}

}  // namespace tools
