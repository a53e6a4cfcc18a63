// Natively: a first, simple profile reader and writer (to be replaced by the
// faithful one).
#include <fstream>
#include <sstream>

#include "store/profile.h"

namespace store {
namespace {

std::string Load(const text::Text& file) {
  std::ifstream in(file.c_str(), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Trim(std::string s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

}  // namespace

text::Text ProfileRead(const text::Text& file, const text::Text& section, const text::Text& key) {
  std::istringstream in(Load(file));
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (!line.empty() && line[0] == '[') {
      inside = line.substr(1, line.find(']') - 1) == section.c_str();
      continue;
    }
    const auto eq = line.find('=');
    if (inside && eq != std::string::npos && Trim(line.substr(0, eq)) == key.c_str()) {
      std::string v = Trim(line.substr(eq + 1));
      if (v.size() >= kProfileBufferSize) v.resize(kProfileBufferSize - 1);
      return text::Text(v.c_str());
    }
  }
  return text::Text();
}

void ProfileWrite(const text::Text& file, const text::Text& section, const text::Text* key,
                  const text::Text* value) {
  std::istringstream in(Load(file));
  std::string line, out;
  bool inside = false, done = false, seen_section = false;
  while (std::getline(in, line)) {
    const std::string t = Trim(line);
    if (!t.empty() && t[0] == '[') {
      if (inside && !done && key) {
        out += std::string(key->c_str()) + "=" + value->c_str() + "\r\n";
        done = true;
      }
      inside = t.substr(1, t.find(']') - 1) == section.c_str();
      seen_section |= inside;
      if (inside && !key) continue;
    } else if (inside) {
      if (!key) continue;
      const auto eq = t.find('=');
      if (eq != std::string::npos && Trim(t.substr(0, eq)) == key->c_str()) {
        if (!done) out += std::string(key->c_str()) + "=" + value->c_str() + "\r\n";
        done = true;
        continue;
      }
    }
    out += t + "\r\n";
  }
  if (key && !done) {
    if (!seen_section) out += std::string("[") + section.c_str() + "]\r\n";
    out += std::string(key->c_str()) + "=" + value->c_str() + "\r\n";
  }
  std::ofstream(file.c_str(), std::ios::binary) << out;
}

}  // namespace store
