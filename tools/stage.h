// Playing on a run directory other than the console program's own. The
// plugins take the directory of the host's executable as the run directory,
// so the console program runs a copy of itself from a fresh directory that
// holds the game files of the chosen one.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tools {

// The directory of this program's executable file.
std::string ProgramDirectory();

// Makes a fresh directory in the system's temporary directory with a copy of
// this program, of our host library from `library_dir`, and of `run_dir`'s
// config folder (`in_place`: a link to it instead, so the game files of
// `run_dir` itself are read and written); runs the copy with `args` and
// removes the directory again. Returns the copy's exit status, or -1 with
// `error` filled (UTF-8).
int RunFromStage(const std::string& run_dir, const std::string& library_dir, bool in_place,
                 const std::vector<std::string>& args, std::string* error);

// Platform part: a path from a narrow text as the program gets and gives
// them (natively UTF-8, on Windows the ANSI code page), and back.
std::filesystem::path PathFromText(const std::string& text);
std::string TextFromPath(const std::filesystem::path& path);

// Platform part: runs `program` (a path, or a bare name searched on the
// PATH) with `args` (not including the program itself) on this process's
// standard streams and waits; the exit status, or -1 when it could not be
// started.
int RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace tools
