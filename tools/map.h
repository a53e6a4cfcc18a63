// The story map: the tree as a Graphviz DOT graph.
#pragma once

#include <string>

#include "tools/story.h"

namespace tools {

// One DOT node per node of the story, labelled with its path and the first
// characters of its text, and one edge per choice, labelled with the choice.
// The kinds differ in shape and colour and carry a class for SVG: "root",
// "way_on", "dead_end", "ending", and "unreached" (dashed, for sections no
// group can reach; their edges are dashed too). UTF-8.
std::string StoryMapDot(const Story& story);

}  // namespace tools
