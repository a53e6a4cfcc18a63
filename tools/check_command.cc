// veldrin check: the checker on story files and the main configuration file,
// with the safe conversion of files saved as UTF-8.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "store/file_name.h"
#include "tools/check.h"
#include "tools/commands.h"
#include "tools/console.h"
#include "tools/stage.h"

namespace tools {
namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] =
    u8"用法：veldrin check [--config 生存配置.ini] [--lang en] [--json] [--fix-encoding] [--no-summary] [游戏.ini ...]\n";

struct CheckOptions {
  std::vector<std::string> stories;
  std::string config;
  Language language = Language::kChinese;
  bool json = false;
  bool fix = false;
  bool summary = true;
};

std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Keeps the original next to the file under the first free name
// file.bak, file.bak1, ... and replaces the file through a temporary file.
bool Replace(const std::string& path, const std::string& bytes, std::string* backup) {
  std::error_code ec;
  *backup = path + ".bak";
  for (int n = 1; fs::exists(PathFromText(*backup), ec); ++n) *backup = path + ".bak" + std::to_string(n);
  if (!fs::copy_file(PathFromText(path), PathFromText(*backup), ec)) return false;
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) return false;
  }
  fs::rename(PathFromText(temporary), PathFromText(path), ec);
  return !ec;
}

// Converts a file saved as UTF-8 to GBK when --fix-encoding asks for it;
// the note or the error goes to `out`.
void FixEncoding(const std::string& path, std::string* bytes, Language language, std::vector<Diagnostic>* out) {
  const std::string label = Utf8FromArgument(path);
  std::size_t bad = 0;
  const FileEncoding encoding = DetectEncoding(*bytes, &bad);
  if (encoding != FileEncoding::kUtf8 && encoding != FileEncoding::kUtf8Bom) return;
  const bool zh = language == Language::kChinese;
  std::string gbk, backup;
  if (!ConvertUtf8File(*bytes, &gbk)) {
    out->push_back({label, 1, Severity::kError, "E004",
                    zh ? u8"无法转成 GBK：有的字在 GBK 里没有；文件没有改动"
                       : "cannot convert to GBK: some characters have no GBK form; the file is left as it was"});
    return;
  }
  if (!Replace(path, gbk, &backup)) {
    out->push_back({label, 1, Severity::kError, "E004",
                    zh ? u8"无法写回转换后的文件；原文件没有改动" : "cannot write the converted file; the file is left as it was"});
    return;
  }
  out->push_back({label, 1, Severity::kNote, "N005",
                  zh ? u8"已从 UTF-8 转成 GBK，原文件保存在 " + Utf8FromArgument(backup)
                     : "converted from UTF-8 to GBK, the original kept in " + Utf8FromArgument(backup)});
  *bytes = gbk;
}

bool Parse(const Args& args, CheckOptions* o) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      o->json = true;
    } else if (a == "--fix-encoding") {
      o->fix = true;
    } else if (a == "--no-summary") {
      o->summary = false;
    } else if ((a == "--config" || a == "--lang") && i + 1 < args.size()) {
      const std::string& v = args[++i];
      if (a == "--config") o->config = v;
      else if (v == "en") o->language = Language::kEnglish;
      else if (v != "zh") return false;
    } else if (!a.empty() && a[0] == '-') {
      return false;
    } else {
      o->stories.push_back(a);
    }
  }
  return !o->stories.empty() || !o->config.empty();
}

void Report(const CheckOptions& o, const std::vector<Diagnostic>& diagnostics, const Story* story) {
  if (o.json) {
    Say(FormatJson(diagnostics, story));
    return;
  }
  for (const Diagnostic& d : diagnostics) Say(FormatDiagnostic(d) + "\n");
  if (story != nullptr && o.summary)
    for (const std::string& line : FormatSummary(*story, o.language)) Say(line + "\n");
}

}  // namespace

int CheckCommand(const Args& args) {
  CheckOptions o;
  if (!Parse(args, &o)) {
    SayError(kUsage);
    return 2;
  }
  bool errors = false;
  auto unreadable = [&](const std::string& path) {
    Report(o, {{Utf8FromArgument(path), 1, Severity::kError, "E000",
                o.language == Language::kChinese ? u8"无法读取这个文件" : "cannot read this file"}},
           nullptr);
    errors = true;
  };
  for (const std::string& path : o.stories) {
    std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes) {
      unreadable(path);
      continue;
    }
    std::vector<Diagnostic> diagnostics;
    if (o.fix) FixEncoding(path, &*bytes, o.language, &diagnostics);
    std::optional<Story> story;
    for (Diagnostic& d : CheckStory(Utf8FromArgument(path), *bytes, o.language, &story))
      diagnostics.push_back(std::move(d));
    errors |= HasErrors(diagnostics);
    Report(o, diagnostics, story ? &*story : nullptr);
  }
  if (!o.config.empty()) {
    std::optional<std::string> bytes = ReadBytes(o.config);
    if (!bytes) {
      unreadable(o.config);
    } else {
      std::vector<Diagnostic> diagnostics;
      if (o.fix) FixEncoding(o.config, &*bytes, o.language, &diagnostics);
      // Story files lie next to the main configuration file, in the
      // configuration root.
      const std::string root = TextFromPath(PathFromText(o.config).parent_path());
      const StoryReader read_story = [&root](std::string_view name) {
        const text::Text native = store::NativeFileName(std::string("\\") + std::string(name) + ".ini");
        return native.empty() ? std::nullopt : ReadBytes((root.empty() ? "." : root) + std::string(native.data(), native.size()));
      };
      for (Diagnostic& d : CheckMainConfig(Utf8FromArgument(o.config), *bytes, o.language, read_story))
        diagnostics.push_back(std::move(d));
      errors |= HasErrors(diagnostics);
      Report(o, diagnostics, nullptr);
    }
  }
  return errors ? 1 : 0;
}

}  // namespace tools
