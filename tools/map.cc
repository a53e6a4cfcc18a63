// The story tree in DOT.
#include "tools/map.h"

#include "tools/encoding.h"

namespace tools {
namespace {

constexpr std::size_t kLabelCharacters = 12;

struct Look {
  const char* kind;
  const char* attributes;
};

Look LookOf(const StoryNode& node) {
  if (!node.reached) return {"unreached", "shape=box, style=dashed, color=gray50, fontcolor=gray40"};
  switch (node.kind) {
    case NodeKind::kRoot:
      return {"root", "shape=house, style=filled, fillcolor=lightblue"};
    case NodeKind::kWayOn:
      return {"way_on", "shape=box, style=\"rounded,filled\", fillcolor=lightyellow"};
    case NodeKind::kDeadEnd:
      return {"dead_end", "shape=octagon, style=filled, fillcolor=salmon"};
    case NodeKind::kEnding:
      return {"ending", "shape=doubleoctagon, style=filled, fillcolor=palegreen"};
  }
  return {"way_on", ""};
}

std::string Escape(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string Quote(std::string_view utf8) { return "\"" + Escape(utf8) + "\""; }

}  // namespace

std::string StoryMapDot(const Story& story) {
  std::string out = "digraph story {\n  node [fontname=\"sans-serif\"];\n  edge [fontname=\"sans-serif\"];\n";
  for (const auto& [key, node] : story.nodes) {
    const Look look = LookOf(node);
    const std::string text = node.kind == NodeKind::kRoot && node.text.empty() ? story.start : node.text;
    out += "  " + Quote(ShowGbk(node.path)) + " [class=\"" + look.kind + "\", " + look.attributes +
           ", label=\"" + Escape(ShowGbk(node.path)) + "\\n" + Escape(ShowGbkOpening(text, kLabelCharacters)) + "\"];\n";
  }
  for (const auto& [key, node] : story.nodes) {
    if (node.kind == NodeKind::kRoot && node.reached) continue;
    const std::string parent = NodeKey(ParentPath(node.path));
    const auto found = story.nodes.find(parent);
    if (found == story.nodes.end()) continue;
    const std::vector<std::string> choices = Choices(node.path);
    out += "  " + Quote(ShowGbk(found->second.path)) + " -> " + Quote(ShowGbk(node.path)) + " [label=" +
           Quote(choices.empty() ? std::string() : ShowGbk(choices.back())) + (node.reached ? "" : ", style=dashed") +
           "];\n";
  }
  return out + "}\n";
}

}  // namespace tools
