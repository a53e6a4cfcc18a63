// Natively: fork, exec (searching PATH for a bare name) and wait.
#include <sys/wait.h>
#include <unistd.h>

#include "tools/stage.h"

namespace tools {

std::filesystem::path PathFromText(const std::string& text) { return std::filesystem::path(text); }

std::string TextFromPath(const std::filesystem::path& path) { return path.string(); }

int RunProgram(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    execvp(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace tools
