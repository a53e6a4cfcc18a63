// veldrin play: a console host for playtesting. It loads the two plugin
// libraries, sends each typed line to the right plugin's plugmain as a group
// message, and shows the messages our host library posts as they arrive,
// before the reply of the same call.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "store/run_directory.h"
#include "store/store.h"
#include "tools/commands.h"
#include "tools/console.h"
#include "tools/game_names.h"
#include "tools/host_post.h"
#include "tools/plugin_library.h"
#include "tools/stage.h"

namespace tools {
namespace {

constexpr char kGroupMessage[] = "2";

struct PlayOptions {
  std::string dir;
  std::string plugins;
  std::string group = "10001";
  std::string sender = "20001";
  std::string script;  // "-": standard input
  std::string story;   // GBK
  std::string from;    // GBK
  bool no_pause = false;
  bool in_place = false;
  bool staged = false;
};

constexpr char kUsage[] =
    u8"用法：veldrin play [--dir 运行目录] [--plugins 插件目录] [--group 群号] [--sender 账号]\n"
    u8"                   [--script 文件|-] [--no-pause] [--from 节点 [--story 游戏名]] [--in-place]\n";

constexpr char kHelp[] =
    u8"  #开始 游戏名    交给 Ostrelle（开始游戏，要管理员）\n"
    u8"  #选择 2 或 2    交给 Brannick（选择）\n"
    u8"  /sender 账号    换发言人（试管理员规则）\n"
    u8"  /group 群号     换群\n"
    u8"  /state          看本群的存档（进行的游戏、进度、时间）\n"
    u8"  /quit           退出\n";

// One of the two plugins, with what its info block says about it.
struct Plugin {
  PluginLibrary library;
  std::string name;     // line 1, GBK
  std::string command;  // line 5, GBK, e.g. "#开始"
  std::string hint;     // line 6
};

std::string Line(std::string_view block, int wanted) {
  for (int n = 1; !block.empty(); ++n) {
    const std::size_t end = block.find("\r\n");
    if (n == wanted) return std::string(block.substr(0, end));
    if (end == std::string_view::npos) break;
    block.remove_prefix(end + 2);
  }
  return {};
}

bool LoadPlugin(const std::string& dir, const char* base, Plugin* plugin) {
  const std::string path = TextFromPath(PathFromText(dir) / (std::string(base) + kPluginSuffix));
  std::string error;
  if (!plugin->library.Load(path, &error)) {
    SayError(u8"无法载入插件 " + Utf8FromArgument(path) + ": " + Utf8FromArgument(error) + "\n");
    return false;
  }
  const char* info = plugin->library.Info();
  const std::string block = info != nullptr ? info : "";
  plugin->name = Line(block, 1);
  plugin->command = Line(block, 5);
  plugin->hint = Line(block, 6);
  return true;
}

// A plugin's text on the terminal: CR LF becomes a line break.
std::string Shown(std::string_view gbk) {
  std::string out;
  for (char c : ShowGbk(gbk))
    if (c != '\r') out += c;
  return out;
}

std::string Gbk(std::string_view terminal_bytes, bool* ok) {
  std::string gbk;
  *ok = Utf8ToGbk(FromTerminal(CurrentTerminal(), terminal_bytes), &gbk);
  return gbk;
}

std::string GbkArgument(const std::string& argument, bool* ok) {
  std::string gbk;
  *ok = Utf8ToGbk(Utf8FromArgument(argument), &gbk);
  return gbk;
}

class Session {
 public:
  explicit Session(const PlayOptions& options) : options_(options) {}

  bool Open() {
    store::FixRunDirectory();
    config_ = store::MainConfigPath();
    if (!std::ifstream(config_.c_str()))
      SayError(u8"注意：运行目录里没有 config/Veldrin/生存配置.ini\n");
    const std::string dir = options_.plugins.empty() ? ProgramDirectory() : options_.plugins;
    if (!LoadPlugin(dir, "Ostrelle", &start_) || !LoadPlugin(dir, "Brannick", &step_)) return false;
    for (const Plugin* p : {&start_, &step_})
      Say(Shown(p->name) + u8"：" + Shown(p->command) + " " + Shown(p->hint) + "\n");
    return true;
  }

  // Writes the progress of "test from here" for the group, and shows the
  // node the group now stands on.
  bool StartAt(std::string story, const std::string& path) {
    if (story.empty()) story = Read(kStoryKey);
    if (story.empty()) {
      SayError(u8"--from 需要 --story 游戏名（这个群还没有在玩的游戏）\n");
      return false;
    }
    Write(kStoryKey, story);
    Write(kProgressKey, path);
    Write(kTimeKey, "");
    const text::Text node = store::ReadValue(text::View(store::StoryPath(story)), path, kTextKey);
    if (node.empty()) {
      SayError(u8"游戏 " + Shown(story) + u8" 里没有节点 [" + Shown(path) + u8"]\n");
      return false;
    }
    Say(u8"从 [" + Shown(path) + u8"] 开始：\n" + Shown(text::View(node)) + "\n");
    return true;
  }

  // One line from the player; false at /quit.
  bool Handle(const std::string& raw, bool echo) {
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (line.empty()) return true;
    if (echo) Say("> " + FromTerminal(CurrentTerminal(), line) + "\n");
    bool ok = false;
    const std::string gbk = Gbk(line, &ok);
    if (!ok) {
      SayError(u8"这一行有 GBK 里没有的字，没有发出\n");
      return true;
    }
    if (gbk[0] == '/') return HostCommand(gbk);

    const Plugin* target = &step_;
    std::string message = gbk;
    for (const Plugin* p : {&start_, &step_}) {
      if (!p->command.empty() && gbk.compare(0, p->command.size(), p->command) == 0) {
        target = p;
        message = gbk.substr(p->command.size());
      }
    }
    if (target == &step_ && gbk[0] == '#' && gbk.compare(0, step_.command.size(), step_.command) != 0) {
      Say(u8"（没有插件用这个命令）\n");
      return true;
    }
    if (target == &step_ && options_.no_pause) Write(kTimeKey, "");
    current_ = this;
    const char* reply = target->library.Plugmain(message.c_str(), kGroupMessage, options_.group.c_str(),
                                                 options_.sender.c_str(), "");
    current_ = nullptr;
    if (reply == nullptr)
      Say(u8"（无回复）\n");
    else if (*reply == '\0')
      Say(u8"（空回复）\n");
    else
      Say(Shown(reply) + "\n");
    return true;
  }

  void Posted(const char* group, const char* text) {
    Say(u8"【发到群 " + Shown(group != nullptr ? group : "") + u8"】" + Shown(text != nullptr ? text : "") + "\n");
  }

  std::string Prompt() const { return u8"群 " + Shown(options_.group) + u8" · " + Shown(options_.sender) + " > "; }

  static Session* current_;

 private:
  bool HostCommand(const std::string& gbk) {
    const std::size_t space = gbk.find(' ');
    const std::string word = gbk.substr(0, space);
    std::string arg = space == std::string::npos ? std::string() : gbk.substr(space + 1);
    while (!arg.empty() && arg.back() == ' ') arg.pop_back();
    if (word == "/quit") return false;
    if (word == "/sender" && !arg.empty()) {
      options_.sender = arg;
      Say(u8"发言人改为 " + Shown(arg) + "\n");
    } else if (word == "/group" && !arg.empty()) {
      options_.group = arg;
      Say(u8"群改为 " + Shown(arg) + "\n");
    } else if (word == "/state") {
      Say(u8"进行的游戏=" + Shown(Read(kStoryKey)) + u8"  进度=" + Shown(Read(kProgressKey)) + u8"  时间=" +
          Shown(Read(kTimeKey)) + "\n");
    } else {
      Say(kHelp);
    }
    return true;
  }

  std::string Read(const char* key) const {
    const text::Text v = store::ReadValue(text::View(config_), options_.group, key);
    return std::string(v.data(), v.size());
  }
  void Write(const char* key, const std::string& value) const {
    store::WriteValue(text::View(config_), options_.group, key, value);
  }

  PlayOptions options_;
  text::Text config_;
  Plugin start_, step_;
};

Session* Session::current_ = nullptr;

bool ParsePlay(const Args& args, PlayOptions* o) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    bool ok = true;
    if (a == "--no-pause") {
      o->no_pause = true;
    } else if (a == "--in-place") {
      o->in_place = true;
    } else if (a == "--staged") {
      o->staged = true;
    } else if (!has_value) {
      return false;
    } else if (a == "--dir") {
      o->dir = args[++i];
    } else if (a == "--plugins") {
      o->plugins = args[++i];
    } else if (a == "--group") {
      o->group = GbkArgument(args[++i], &ok);
    } else if (a == "--sender") {
      o->sender = GbkArgument(args[++i], &ok);
    } else if (a == "--script") {
      o->script = args[++i];
    } else if (a == "--story") {
      o->story = GbkArgument(args[++i], &ok);
    } else if (a == "--from") {
      o->from = GbkArgument(args[++i], &ok);
    } else {
      return false;
    }
    if (!ok) return false;
  }
  return true;
}

bool SameDirectory(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(PathFromText(a), PathFromText(b), ec);
}

}  // namespace

int PlayCommand(const Args& args, const Args& whole) {
  PlayOptions options;
  if (!ParsePlay(args, &options)) {
    SayError(kUsage);
    return 2;
  }
  const std::string program_dir = ProgramDirectory();
  if (!options.staged && !options.dir.empty() && !SameDirectory(options.dir, program_dir)) {
    Args again = whole;
    again.insert(again.end(), {"--staged", "--plugins",
                               TextFromPath(std::filesystem::absolute(PathFromText(options.plugins.empty() ? program_dir : options.plugins)))});
    std::string error;
    const int status = RunFromStage(options.dir, program_dir, options.in_place, again, &error);
    if (status < 0) SayError(error + "\n");
    return status < 0 ? 1 : status;
  }

  Session session(options);
  if (!session.Open()) return 1;
  if (!options.from.empty() && !session.StartAt(options.story, options.from)) return 1;
  if (options.script.empty()) {
    Say(u8"输入 /help 看命令，/quit 退出\n");
    std::string line;
    for (;;) {
      Say(session.Prompt());
      if (!std::getline(std::cin, line) || !session.Handle(line, false)) break;
    }
    return 0;
  }
  std::ifstream file;
  if (options.script != "-") {
    file.open(options.script, std::ios::binary);
    if (!file) {
      SayError(u8"无法读取 " + Utf8FromArgument(options.script) + "\n");
      return 1;
    }
  }
  std::istream& in = options.script == "-" ? std::cin : file;
  std::string line;
  while (std::getline(in, line))
    if (!session.Handle(line, true)) break;
  return 0;
}

}  // namespace tools

HOST_POST_EXPORT void veldrin_host_post(const char* group, const char* text) {
  if (tools::Session::current_ != nullptr) tools::Session::current_->Posted(group, text);
}
