// The subcommands of veldrin. Each takes the arguments after its own name
// and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace tools {

using Args = std::vector<std::string>;

// `whole` is every argument after the program name, for running the program
// again from a stage directory.
int PlayCommand(const Args& args, const Args& whole);
int CheckCommand(const Args& args);
int MapCommand(const Args& args);

}  // namespace tools
