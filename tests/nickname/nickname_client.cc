// A stand-in for a program that calls 获取昵称 of the plugin libraries: reads
// one command a line on stdin and answers one line on stdout, texts in hex.
//   load NAME PATH      -> ok | failed
//   unload NAME         -> ok | resident   (the system kept it loaded)
//   lookup NAME HEX|-   -> text HEX | null     ("-" passes the null pointer)
//   clients             -> MADE RELEASED
//   memory              -> PEAK_BYTES
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "tests/nickname/client_host.h"

namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

std::string ToHex(const char* p) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (; *p != '\0'; ++p) {
    const unsigned char b = static_cast<unsigned char>(*p);
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

}  // namespace

int main() {
  std::map<std::string, client::Plugin*> plugins;
  static char line[1 << 16];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    std::string command(line, std::strcspn(line, "\r\n"));
    std::string words[3];
    for (int i = 0, from = 0; i < 3 && from <= static_cast<int>(command.size()); ++i) {
      const std::size_t space = i < 2 ? command.find(' ', from) : std::string::npos;
      words[i] = command.substr(from, space == std::string::npos ? std::string::npos : space - from);
      if (space == std::string::npos) break;
      from = static_cast<int>(space) + 1;
    }
    if (words[0] == "load") {
      client::Plugin* p = client::LoadPlugin(words[2].c_str());
      if (p != nullptr) plugins[words[1]] = p;
      std::printf("%s\n", p != nullptr ? "ok" : "failed");
    } else if (words[0] == "unload" && plugins.count(words[1]) > 0) {
      const bool gone = client::UnloadPlugin(plugins[words[1]]);
      plugins.erase(words[1]);
      std::printf("%s\n", gone ? "ok" : "resident");
    } else if (words[0] == "lookup" && plugins.count(words[1]) > 0) {
      const std::string account = FromHex(words[2]);
      const char* result = client::GetNickname(plugins[words[1]], words[2] == "-" ? nullptr : account.c_str());
      if (result == nullptr)
        std::printf("null\n");
      else
        std::printf("text %s\n", ToHex(result).c_str());
    } else if (words[0] == "clients") {
      std::printf("%d %d\n", client::ClientsMade(), client::ClientsReleased());
    } else if (words[0] == "memory") {
      std::printf("%lu\n", static_cast<unsigned long>(client::PeakMemory()));
    } else {
      std::printf("unknown command\n");
    }
    std::fflush(stdout);
  }
  for (auto& [name, plugin] : plugins) client::UnloadPlugin(plugin);
  return 0;
}
