// Runs a table of profile cases through the profile routines of the build it
// is part of (the system's routines on Windows, our own natively) and prints
// every read result and the final bytes of each file, for comparison.
//
// Case file: one directive a line, "#" begins a comment line.
//   case NAME                 a new case; its file starts out missing
//   file TEXT                 appends TEXT to the starting file
//   nodir                     the file lies in a directory that does not exist
//   read SECTION KEY          prints what a read gives
//   write SECTION KEY VALUE   a write; KEY "null" removes SECTION
//   differs REASON            known difference, not counted (see the list)
// TEXT, SECTION, KEY, VALUE: "quoted" with \xHH \r \n \t \\ \" escapes, a
// part may repeat ("a"*100), parts join with + ("a"*9+"b"), or null.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "store/file_name.h"
#include "store/profile.h"

namespace {

[[noreturn]] void Fail(int line, const std::string& why) {
  std::cerr << "cases line " << line << ": " << why << "\n";
  std::exit(2);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One field at `pos` of `line`; nullopt for null.
std::optional<std::string> Field(const std::string& line, std::size_t& pos, int number) {
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (line.compare(pos, 4, "null") == 0) {
    pos += 4;
    return std::nullopt;
  }
  std::string out;
  for (;;) {
    if (pos >= line.size() || line[pos] != '"') Fail(number, "a quoted text expected");
    std::string part;
    for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
      if (line[pos] != '\\') {
        part += line[pos];
        continue;
      }
      const char e = pos + 1 < line.size() ? line[++pos] : '\0';
      if (e == 'r') part += '\r';
      else if (e == 'n') part += '\n';
      else if (e == 't') part += '\t';
      else if (e == '\\' || e == '"') part += e;
      else if (e == 'x' && pos + 2 < line.size() && HexDigit(line[pos + 1]) >= 0 && HexDigit(line[pos + 2]) >= 0) {
        part += static_cast<char>(HexDigit(line[pos + 1]) * 16 + HexDigit(line[pos + 2]));
        pos += 2;
      } else {
        Fail(number, "bad escape");
      }
    }
    if (pos >= line.size()) Fail(number, "unterminated text");
    ++pos;
    long repeat = 1;
    if (pos < line.size() && line[pos] == '*') {
      char* end = nullptr;
      repeat = std::strtol(line.c_str() + pos + 1, &end, 10);
      pos = end - line.c_str();
    }
    for (long i = 0; i < repeat; ++i) out += part;
    if (pos < line.size() && line[pos] == '+') {
      ++pos;
      continue;
    }
    return out;
  }
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

struct Case {
  std::string name;
  bool has_file = false;
  std::string file;
  bool nodir = false;
  std::vector<std::vector<std::optional<std::string>>> ops;  // verb first
};

std::vector<Case> Load(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(0, "cannot open the cases");
  std::vector<Case> cases;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t pos = line.find_first_not_of(' ');
    if (pos == std::string::npos || line[pos] == '#') continue;
    const std::size_t verb_end = line.find(' ', pos);
    const std::string verb = line.substr(pos, verb_end - pos);
    pos = verb_end == std::string::npos ? line.size() : verb_end;
    if (verb == "case") {
      cases.emplace_back();
      cases.back().name = line.substr(line.find_first_not_of(' ', pos));
      continue;
    }
    if (cases.empty()) Fail(number, "directive before the first case");
    Case& c = cases.back();
    if (verb == "file") {
      c.has_file = true;
      c.file += Field(line, pos, number).value_or("");
    } else if (verb == "nodir") {
      c.nodir = true;
    } else if (verb == "differs") {
      Field(line, pos, number);
    } else if (verb == "read" || verb == "write") {
      std::vector<std::optional<std::string>> op{verb};
      const int fields = verb == "read" ? 2 : 3;
      for (int i = 0; i < fields; ++i) op.push_back(Field(line, pos, number));
      c.ops.push_back(op);
    } else {
      Fail(number, "unknown directive " + verb);
    }
  }
  return cases;
}

text::Text T(const std::optional<std::string>& v) { return v ? text::Text(v->data(), v->size()) : text::Text(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: profile_probe CASES WORK_DIRECTORY\n";
    return 2;
  }
  const std::string dir = argv[2];
  const char sep = store::kDirectorySeparator;
  for (const Case& c : Load(argv[1])) {
    const std::string path = c.nodir ? dir + sep + "missing" + sep + "case.ini" : dir + sep + "case.ini";
    std::remove(path.c_str());
    if (c.has_file) {
      std::ofstream(path, std::ios::binary) << c.file;
    }
    std::cout << "case " << c.name << "\n";
    const text::Text file(path.c_str());
    int reads = 0;
    for (const auto& op : c.ops) {
      if (*op[0] == "read") {
        const text::Text got = store::ProfileRead(file, T(op[1]), T(op[2]));
        std::cout << "read " << ++reads << ": " << Hex(std::string(got.data(), got.size())) << "\n";
      } else {
        const text::Text section = T(op[1]), key = T(op[2]), value = T(op[3]);
        store::ProfileWrite(file, section, op[2] ? &key : nullptr, op[3] ? &value : nullptr);
      }
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::cout << "file: none\n";
    } else {
      std::stringstream all;
      all << in.rdbuf();
      std::cout << "file: " << Hex(all.str()) << "\n";
    }
    std::remove(path.c_str());
  }
  return 0;
}
