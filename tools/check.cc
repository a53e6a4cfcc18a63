// The checks, each reporting the line an author has to look at.
#include "tools/check.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "store/profile.h"
#include "store/story_name.h"
#include "text/text.h"
#include "tools/encoding.h"
#include "tools/game_names.h"

namespace tools {
namespace {

class Reporter {
 public:
  Reporter(const std::string& file, Language language, std::vector<Diagnostic>* out)
      : file_(file), language_(language), out_(out) {}

  void Add(int line, Severity severity, const char* code, const std::string& zh, const std::string& en) const {
    out_->push_back({file_, line < 1 ? 1 : line, severity, code, language_ == Language::kChinese ? zh : en});
  }

 private:
  const std::string& file_;
  Language language_;
  std::vector<Diagnostic>* out_;
};

std::string Num(std::size_t n) { return std::to_string(n); }

// A section name as the author wrote it, in brackets.
std::string Sec(std::string_view gbk) { return "[" + ShowGbk(gbk) + "]"; }

std::string Quoted(std::string_view gbk) { return "\"" + ShowGbk(gbk) + "\""; }

bool IsUtf8(std::string_view b) {
  for (std::size_t i = 0; i < b.size();) {
    const unsigned char c = static_cast<unsigned char>(b[i]);
    std::size_t n = 0;
    if (c < 0x80)
      n = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      n = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      n = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      n = 3;
    else
      return false;
    if (i + n >= b.size()) return false;
    for (std::size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(b[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

int LineOf(std::string_view bytes, std::size_t offset) {
  return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

std::size_t FirstHighByte(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (text::IsLeadByte(bytes[i])) return i;
  return bytes.size();
}

// Blanks dropped and full-width forms folded onto ASCII: the texts an author
// takes for equal although the ending test compares bytes.
std::string LooseForm(std::string_view gbk) {
  std::string out;
  for (std::size_t i = 0; i < gbk.size();) {
    const unsigned char c = static_cast<unsigned char>(gbk[i]);
    if (GbkCharSize(gbk, i) == 2) {
      const unsigned char d = static_cast<unsigned char>(gbk[i + 1]);
      if (c == 0xA1 && d == 0xA1) {
        // the full-width space
      } else if (c == 0xA3 && d >= 0xA1 && d <= 0xFE) {
        out += static_cast<char>(d - 0x80);
      } else {
        out += gbk.substr(i, 2);
      }
      i += 2;
      continue;
    }
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += static_cast<char>(c);
    ++i;
  }
  return out;
}

bool AllAsciiDigits(std::string_view v) {
  return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Repeated sections and keys and values a read cuts: these hold for every
// profile file of the game.
void CheckProfile(const ProfileView& view, const Reporter& r) {
  for (const ProfileSection& s : view.sections) {
    const ProfileSection* seen = view.Find(s.name);
    if (seen == nullptr) {
      // "[]": a read of the empty name never reaches a section.
      r.Add(s.line, Severity::kWarning, "W013",
            u8"节 " + Sec(s.name) + u8" 的名字是空的：插件读不到它",
            "section " + Sec(s.name) + " has an empty name: the plugins never read it");
      continue;
    }
    if (seen != &s) {
      r.Add(s.line, Severity::kWarning, "W010",
            u8"节 " + Sec(s.name) + u8" 重复：插件只读第 " + Num(seen->line) + u8" 行的那一节，这一节的键都读不到",
            "section " + Sec(s.name) + " repeated: the plugins read only the one on line " + Num(seen->line) +
                ", no key of this one is ever read");
      continue;
    }
    for (const ProfileKey& k : s.keys) {
      const ProfileKey* first = view.FindKey(s, k.name);
      if (first != &k)
        r.Add(k.line, Severity::kWarning, "W011",
              u8"键 " + Quoted(k.name) + u8" 在 " + Sec(s.name) + u8" 里重复：插件读第 " + Num(first->line) + u8" 行的值",
              "key " + Quoted(k.name) + " repeated in " + Sec(s.name) + ": the plugins read the value on line " +
                  Num(first->line));
    }
  }
  for (int line : view.lines_before_sections)
    r.Add(line, Severity::kWarning, "W014", u8"这一行在第一个节之前：插件读不到它",
          "this line comes before the first section: the plugins never read it");
  for (const ProfileSection& s : view.sections)
    for (const ProfileKey& k : s.keys)
      if (k.value.size() >= store::kProfileBufferSize)
        r.Add(k.line, Severity::kError, "E012",
              u8"值有 " + Num(k.value.size()) + u8" 字节，插件最多只读到前 10239 字节",
              "value of " + Num(k.value.size()) + " bytes: the plugins read at most the first 10239");
}

// Keys the plugins never read, and lines that are no key at all (a text
// broken over two lines loses its second half).
void CheckKeys(const ProfileView& view, const Reporter& r,
               const std::function<bool(const ProfileSection&, const ProfileKey&)>& known) {
  for (const ProfileSection& s : view.sections) {
    if (view.Find(s.name) != &s) continue;
    for (const ProfileKey& k : s.keys) {
      if (!k.name.empty() && k.name[0] == ';') continue;
      if (!k.has_value)
        r.Add(k.line, Severity::kWarning, "W121",
              u8"这一行没有“=”，插件不读它（一段剧情必须写在同一行）",
              "this line has no \"=\" and is never read (a text must stay on one line)");
      else if (!known(s, k))
        r.Add(k.line, Severity::kWarning, "W120",
              u8"插件不会读 " + Sec(s.name) + u8" 里的键 " + Quoted(k.name) + u8"（写错了？）",
              "the plugins never read the key " + Quoted(k.name) + " of " + Sec(s.name) + " (a typo?)");
    }
  }
}

// Encoding problems; true when the rest of the file can be checked.
bool CheckEncoding(std::string_view bytes, const Reporter& r) {
  std::size_t bad = 0;
  switch (DetectEncoding(bytes, &bad)) {
    case FileEncoding::kGbk:
      return true;
    case FileEncoding::kUtf8Bom:
      r.Add(1, Severity::kWarning, "W001",
            u8"文件存成了带 BOM 的 UTF-8：游戏文件应当是 GBK；靠 BOM 认出 UTF-8 的读法不是每个 Windows 都有（用 --fix-encoding 转成 GBK）",
            "the file was saved as UTF-8 with a byte order mark: game files are GBK, and not every Windows reads such "
            "a file as UTF-8 (convert it with --fix-encoding)");
      return true;
    case FileEncoding::kUtf8:
      r.Add(LineOf(bytes, FirstHighByte(bytes)), Severity::kError, "E002",
            u8"文件存成了 UTF-8：插件按 GBK 读，中文全是乱码，“剧情”等键都读不到（用 --fix-encoding 转成 GBK）",
            "the file was saved as UTF-8: the plugins read GBK, so every Chinese text is garbled and keys such as "
            "剧情 are never found (convert it with --fix-encoding)");
      return false;
    case FileEncoding::kInvalid: {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(bytes[bad]));
      r.Add(LineOf(bytes, bad), Severity::kError, "E003",
            std::string(u8"不是有效的 GBK 文本：字节 ") + hex + u8" 不成字",
            std::string("not valid GBK: the byte ") + hex + " begins no character");
      return true;
    }
  }
  return true;
}

void CheckUnreached(const Story& story, const StoryNode& node, const Reporter& r) {
  const std::string key = NodeKey(node.path);
  if (key.compare(0, 1, kRootSection) != 0) {
    r.Add(node.line, Severity::kError, "E111",
          Sec(node.path) + u8" 永远到不了：节名不以 1 开头，不在 [1] 之下",
          Sec(node.path) + " can never be reached: its name does not begin with 1, the root");
    return;
  }
  std::string at = kRootSection;
  for (const std::string& c : Choices(node.path)) {
    const std::string next = NodeKey(at + c);
    const StoryNode& here = story.nodes.at(NodeKey(at));
    if (here.kind == NodeKind::kDeadEnd) {
      r.Add(node.line, Severity::kError, "E112",
            Sec(node.path) + u8" 永远到不了：" + Sec(here.path) + u8" 没有第一个选项 " + Sec(here.path + "1") +
                u8"，是死路，队伍到那里就死亡",
            Sec(node.path) + " can never be reached: " + Sec(here.path) + " has no first choice " +
                Sec(here.path + "1") + ", so it is a dead end and the party dies there");
      return;
    }
    if (here.kind == NodeKind::kEnding) {
      r.Add(node.line, Severity::kWarning, "W113",
            Sec(node.path) + u8" 永远到不了：" + Sec(here.path) + u8" 的剧情等于结束文本，故事在那里结束",
            Sec(node.path) + " can never be reached: the text of " + Sec(here.path) +
                " equals the ending text, so the story ends there");
      return;
    }
    const auto found = story.nodes.find(next);
    if (found == story.nodes.end() || !found->second.reached) {
      const std::string rest = node.path.substr(here.path.size());
      if (AllAsciiDigits(rest))
        r.Add(node.line, Severity::kError, "E111",
              Sec(node.path) + u8" 永远到不了：路径上的 " + Sec(at + c) + u8" 没有节点（没有这一节或它没有“剧情”）",
              Sec(node.path) + " can never be reached: " + Sec(at + c) +
                  " on its path has no node (no such section, or no 剧情 in it)");
      else
        r.Add(node.line, Severity::kWarning, "W133",
              Sec(node.path) + u8" 只能在 " + Sec(here.path) + u8" 发多字符的选项 " + Quoted(rest) +
                  u8" 到达：路径不记选项的边界，容易混淆",
              Sec(node.path) + " is reached only by the choice " + Quoted(rest) + " of more than one character at " +
                  Sec(here.path) + ": paths record no boundaries between choices");
      return;
    }
    at = found->second.path;
  }
}

// Gaps, choice 0 and tenth choices; returns the keys of the tenth choices.
std::set<std::string> CheckNumbering(const Story& story, const Reporter& r) {
  std::set<std::string> tenth;
  for (const auto& [key, node] : story.nodes) {
    std::set<int> digits;
    for (char d = '0'; d <= '9'; ++d)
      if (story.nodes.count(NodeKey(node.path + d)) != 0) digits.insert(d - '0');
    const int top = digits.empty() ? 0 : *digits.rbegin();
    for (int d = 2; d < top; ++d)
      if (digits.count(d) == 0)
        r.Add(node.line, Severity::kWarning, "W130",
              Sec(node.path) + u8" 的选项编号有缺口：有 " + Num(top) + u8"，没有 " + Num(d),
              "the choices of " + Sec(node.path) + " have a gap: " + Num(top) + " but no " + Num(d));
    const auto ten = story.nodes.find(NodeKey(node.path + "10"));
    if (digits.size() >= 9 && digits.count(0) == 0 && ten != story.nodes.end()) {
      tenth.insert(ten->first);
      r.Add(ten->second.line, Severity::kWarning, "W132",
            Sec(ten->second.path) + u8" 是 " + Sec(node.path) + u8" 的第十个选项：路径 " + Sec(ten->second.path) +
                u8" 也是 " + Sec(node.path + "1") + u8" 之后的选项 0，选项最多用 1 到 9",
            Sec(ten->second.path) + " is the tenth choice of " + Sec(node.path) + ": the same path is choice 0 after " +
                Sec(node.path + "1") + "; keep choices to 1-9");
    }
  }
  for (const auto& [key, node] : story.nodes) {
    if (node.path.size() < 2 || node.path.back() != '0' || tenth.count(key) != 0) continue;
    const std::string parent = ParentPath(node.path);
    if (story.nodes.count(NodeKey(parent)) == 0) continue;
    const std::string above = ParentPath(parent);
    if (above.empty())
      r.Add(node.line, Severity::kWarning, "W131",
            Sec(node.path) + u8" 是 " + Sec(parent) + u8" 的选项 0：选项最好从 1 开始",
            Sec(node.path) + " is choice 0 of " + Sec(parent) + ": number choices from 1");
    else
      r.Add(node.line, Severity::kWarning, "W131",
            Sec(node.path) + u8" 是 " + Sec(parent) + u8" 的选项 0：它的路径也是 " + Sec(above) +
                u8" 的两位数选项，选项最好从 1 开始",
            Sec(node.path) + " is choice 0 of " + Sec(parent) + ": its path is also a two-digit choice at " +
                Sec(above) + "; number choices from 1");
  }
  return tenth;
}

}  // namespace

FileEncoding DetectEncoding(std::string_view bytes, std::size_t* bad_offset) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return FileEncoding::kUtf8Bom;
  if (FirstHighByte(bytes) == bytes.size()) return FileEncoding::kGbk;
  if (IsUtf8(bytes)) return FileEncoding::kUtf8;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) continue;
    if (c == 0x80 || c == 0xFF || i + 1 >= bytes.size()) {
      *bad_offset = i;
      return FileEncoding::kInvalid;
    }
    const unsigned char d = static_cast<unsigned char>(bytes[i + 1]);
    if (d < 0x40 || d == 0x7F || d == 0xFF) {
      *bad_offset = i;
      return FileEncoding::kInvalid;
    }
    ++i;
  }
  return FileEncoding::kGbk;
}

bool ConvertUtf8File(std::string_view bytes, std::string* gbk) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return Utf8ToGbk(bytes, gbk);
}

std::vector<Diagnostic> CheckStory(const std::string& file, std::string_view bytes, Language language,
                                   std::optional<Story>* story_out) {
  std::vector<Diagnostic> out;
  const Reporter r(file, language, &out);
  if (!CheckEncoding(bytes, r)) return out;
  const ProfileView view = ParseProfile(bytes);
  CheckProfile(view, r);
  Story story = BuildStory(view);

  const ProfileSection* root = view.Find(kRootSection);
  if (root == nullptr) {
    r.Add(1, Severity::kError, "E101", u8"没有 [1] 节：故事无法开始", "no section [1]: the story cannot start");
  } else {
    if (story.start.empty())
      r.Add(root->line, Severity::kError, "E102", u8"[1] 没有“开始”：插件会回答这个游戏没有配置",
            "[1] has no 开始: the start plugin answers that the story is not set up");
    if (story.ending.empty())
      r.Add(root->line, Severity::kError, "E103", u8"[1] 没有“结束”：故事永远不会结束",
            "[1] has no 结束: the story can never end");
  }
  if (!story.ending.empty()) {
    const bool ends = std::any_of(story.nodes.begin(), story.nodes.end(),
                                  [](const auto& n) { return n.second.reached && n.second.kind == NodeKind::kEnding; });
    if (!ends)
      r.Add(view.FindKey(*root, kEndingKey)->line, Severity::kError, "E104",
            u8"没有哪个能到达的节点的“剧情”和结束文本完全相同：故事永远不会结束",
            "no node that can be reached has a 剧情 exactly equal to the ending text: the story can never end");
    const std::string loose = LooseForm(story.ending);
    for (const auto& [key, node] : story.nodes)
      if (node.text != story.ending && LooseForm(node.text) == loose)
        r.Add(node.text_line, Severity::kWarning, "W105",
              Sec(node.path) + u8" 的剧情和结束文本只差空白或全角半角：结束按完全相同判断，这里不会结束",
              "the text of " + Sec(node.path) +
                  " differs from the ending text only in blanks or full-width forms: the ending needs exact equality");
  }

  for (const ProfileSection& s : view.sections)
    if (view.Find(s.name) == &s && !SameName(s.name, kRootSection) && view.Read(s.name, kTextKey).empty())
      r.Add(s.line, Severity::kError, "E110",
            Sec(s.name) + u8" 没有“剧情”：选到这里的玩家只会看到“你这是选到哪里去了。”",
            Sec(s.name) + " has no 剧情: a player who chooses it only gets the reply that the choice leads nowhere");

  CheckKeys(view, r, [](const ProfileSection& s, const ProfileKey& k) {
    if (SameName(k.name, kTextKey)) return true;
    return SameName(s.name, kRootSection) && (SameName(k.name, kStartKey) || SameName(k.name, kEndingKey));
  });

  // A tenth choice is reached by typing "10"; its own warning says so.
  const std::set<std::string> tenth = CheckNumbering(story, r);
  for (const auto& [key, node] : story.nodes)
    if (!node.reached && tenth.count(key) == 0) CheckUnreached(story, node, r);

  for (const std::string& key : story.reached) {
    const StoryNode& node = story.nodes.at(key);
    if (node.kind == NodeKind::kDeadEnd)
      r.Add(node.text_line, Severity::kNote, "N140",
            Sec(node.path) + u8" 是死路，队伍在这里死亡并回到开始：“" + ShowGbkOpening(node.text, 20) + u8"”",
            Sec(node.path) + " is a dead end, the party dies here and goes back to the start: \"" +
                ShowGbkOpening(node.text, 20) + "\"");
  }
  std::stable_sort(out.begin(), out.end(), [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
  *story_out = std::move(story);
  return out;
}

std::vector<Diagnostic> CheckMainConfig(const std::string& file, std::string_view bytes, Language language,
                                        const StoryReader& read_story) {
  std::vector<Diagnostic> out;
  const Reporter r(file, language, &out);
  if (!CheckEncoding(bytes, r)) return out;
  const ProfileView view = ParseProfile(bytes);
  CheckProfile(view, r);

  const ProfileSection* admin = view.Find(kAdminSection);
  if (admin == nullptr)
    r.Add(1, Severity::kError, "E201", u8"没有“群生存权限管理”节：谁都不能开始游戏",
          "no section 群生存权限管理: nobody can start a story");
  for (const ProfileSection& s : view.sections) {
    if (&s != admin) continue;
    if (s.keys.empty())
      r.Add(s.line, Severity::kWarning, "W202", u8"“群生存权限管理”里没有任何群：谁都不能开始游戏",
            "群生存权限管理 names no group: nobody can start a story");
    for (const ProfileKey& k : s.keys) {
      if (view.FindKey(s, k.name) != &k) continue;
      if (k.value.empty()) {
        r.Add(k.line, Severity::kWarning, "W202", u8"群 " + ShowGbk(k.name) + u8" 的管理列表是空的：这个群不能开始游戏",
              "the administrator list of group " + ShowGbk(k.name) + " is empty: the group cannot start a story");
        continue;
      }
      std::string_view rest = k.value;
      for (;;) {
        const std::size_t bar = rest.find('|');
        const std::string_view member = rest.substr(0, bar);
        const bool last = bar == std::string_view::npos;
        if ((member.empty() && !last) || member.find_first_of(" \t") != std::string_view::npos)
          r.Add(k.line, Severity::kWarning, "W203",
                u8"群 " + ShowGbk(k.name) + u8" 的管理列表里有空的或带空格的账号 " + Quoted(member) + u8"：它不会和任何发言人相同",
                "the administrator list of group " + ShowGbk(k.name) + " holds an empty or blank-holding member " +
                    Quoted(member) + ": it never equals a sender");
        if (last) break;
        rest.remove_prefix(bar + 1);
      }
    }
  }

  CheckKeys(view, r, [admin](const ProfileSection& s, const ProfileKey& k) {
    return &s == admin || SameName(k.name, kStoryKey) || SameName(k.name, kProgressKey) || SameName(k.name, kTimeKey);
  });

  for (const ProfileSection& s : view.sections) {
    if (&s == admin || view.Find(s.name) != &s) continue;
    const ProfileKey* name = view.FindKey(s, kStoryKey);
    if (name == nullptr || name->value.empty()) continue;
    if (!store::IsSafeStoryName(name->value)) {
      r.Add(name->line, Severity::kError, "E205",
            u8"群 " + ShowGbk(s.name) + u8" 的游戏 " + Quoted(name->value) + u8" 会离开配置目录：插件拒绝读它",
            "the story " + Quoted(name->value) + " of group " + ShowGbk(s.name) +
                " leaves the configuration folder: the plugins refuse it");
      continue;
    }
    const std::optional<std::string> bytes_of_story = read_story(name->value);
    if (!bytes_of_story) {
      r.Add(name->line, Severity::kError, "E204",
            u8"群 " + ShowGbk(s.name) + u8" 的游戏文件 " + ShowGbk(name->value) + u8".ini 不存在",
            "the story file " + ShowGbk(name->value) + ".ini of group " + ShowGbk(s.name) + " does not exist");
      continue;
    }
    const std::string progress = view.Read(s.name, kProgressKey);
    if (progress.empty() || progress == kRootSection) continue;
    const ProfileView story = ParseProfile(*bytes_of_story);
    if (story.Read(progress, kTextKey).empty())
      r.Add(view.FindKey(s, kProgressKey)->line, Severity::kError, "E206",
            u8"群 " + ShowGbk(s.name) + u8" 的进度 " + Sec(progress) + u8" 在游戏 " + ShowGbk(name->value) +
                u8" 里已经没有了：这个群的每个选择都会得到“你这是选到哪里去了。”",
            "the progress " + Sec(progress) + " of group " + ShowGbk(s.name) + " is no longer a node of the story " +
                ShowGbk(name->value) + ": every choice of the group leads nowhere");
  }
  std::stable_sort(out.begin(), out.end(), [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
  return out;
}

std::string FormatDiagnostic(const Diagnostic& d) {
  const char* severity = d.severity == Severity::kError ? "error" : d.severity == Severity::kWarning ? "warning" : "note";
  return d.file + ":" + std::to_string(d.line) + ": " + severity + " " + d.code + ": " + d.message;
}

bool HasErrors(const std::vector<Diagnostic>& diagnostics) {
  return std::any_of(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& d) { return d.severity == Severity::kError; });
}

}  // namespace tools
