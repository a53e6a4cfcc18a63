// Speed of whole handler calls and of the text routines: one step and one
// start over a main configuration file of 10,000 groups and a story of
// 10,000 nodes, beside their floor (reading the two files once), and the
// text routines on 1 MiB texts beside theirs (one copy of the text).
//
// The story holds the nodes of a tree with three choices at every node, the
// deepest first, so that every read of the root passes the whole file.
// STORE_BENCH_DIR names the directory of the run directory (made when
// missing); without it a temporary directory is used.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/store_bench_files.h"
#include "start/start_handler.h"
#include "step/step_handler.h"
#include "store/clock.h"
#include "store/test_clock.h"
#include "store/run_directory.h"
#include "store/store.h"
#include "text/text.h"

namespace {

constexpr long kGroups = 10000;
constexpr long kNodes = 10000;
constexpr char kStoryName[] = "\xC9\xAD\xC1\xD6";  // 森林, the story of every group of the file
constexpr char kStart[] = "\xBF\xAA\xCA\xBC";      // 开始
constexpr char kEnding[] = "\xBD\xE1\xCA\xF8";     // 结束
constexpr char kNode[] = "\xBE\xE7\xC7\xE9";       // 剧情
constexpr char kAdmin[] = "\xC8\xBA\xC9\xFA\xB4\xE6\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED";  // 群生存权限管理
// The node the benchmarked group stands on, and its child with a way on.
constexpr char kProgress[] = "1213";
constexpr char kChoice[] = "1";

// The paths of the first `count` nodes of the tree, root first.
std::vector<std::string> TreePaths(long count) {
  std::vector<std::string> paths{"1"};
  for (std::size_t i = 0; static_cast<long>(paths.size()) < count; ++i)
    for (char c = '1'; c <= '3' && static_cast<long>(paths.size()) < count; ++c) paths.push_back(paths[i] + c);
  return paths;
}

std::string StoryBytes() {
  std::vector<std::string> paths = TreePaths(kNodes);
  std::string out;
  for (auto p = paths.rbegin(); p != paths.rend(); ++p) {
    out += "[" + *p + "]\r\n" + kNode + "=\xB5\xDA" + *p + "\xBD\xDA\xA3\xBA\xC4\xE3\xD4\xDA\xC3\xD4\xCE\xED"
           "\xC9\xAD\xC1\xD6\xC0\xEF\xD5\xD2\xC2\xB7\xA1\xA3\r\n";  // 第…节：你在迷雾森林里找路。
    if (*p == "1")
      out += std::string(kStart) + "=\xC4\xE3\xD0\xD1\xD4\xDA\xC9\xAD\xC1\xD6\xC0\xEF\xA1\xA3\r\n" + kEnding +
             "=\xC4\xE3\xD7\xDF\xB3\xF6\xC1\xCB\xC9\xAD\xC1\xD6\xA1\xA3\r\n";  // 你醒在森林里。 你走出了森林。
  }
  return out;
}

// The run directory with both files, made once; a temporary one goes again
// at exit.
struct Files {
  std::string main, story, temporary;
  store::TestClock clock;
  Files() {
    // Three seconds on at every look, so no step meets the pause rule.
    clock.step = 3;
    std::string dir;
    if (const char* d = std::getenv("STORE_BENCH_DIR")) {
      dir = std::string(d) + "/step_run";
    } else {
      char pattern[] = "/tmp/step_bench.XXXXXX";
      dir = temporary = mkdtemp(pattern);
    }
    std::filesystem::create_directories(dir + "/config/Veldrin");
    store::SetRunDirectoryForTesting(text::Text(dir.c_str()));
    store::SetClockForTesting(&clock);
    const text::Text m = store::MainConfigPath(), s = store::StoryPath(kStoryName);
    main.assign(m.data(), m.size());
    story.assign(s.data(), s.size());
    store_bench::WriteFile(story, StoryBytes());
  }
  ~Files() {
    std::error_code ignored;
    if (!temporary.empty()) std::filesystem::remove_all(temporary, ignored);
  }
  // A fresh main configuration file, the benchmarked group at kProgress.
  void ResetMain() {
    store_bench::WriteFile(main, store_bench::MainConfigBytes(kGroups));
    store::WriteValue(main, store_bench::TargetGroup(kGroups), store_bench::kProgress, kProgress);
  }
};

Files& TheFiles() {
  static Files files;
  return files;
}

void SetCounters(benchmark::State& state) {
  const Files& f = TheFiles();
  state.counters["main_bytes"] = static_cast<double>(std::filesystem::file_size(f.main));
  state.counters["story_bytes"] = static_cast<double>(std::filesystem::file_size(f.story));
}

// One accepted step onto a node with a way on: five reads of the main file,
// four of the story, and two writes of the main file. Each step is undone,
// untimed, so that every one starts from the same node.
void BM_StepCall(benchmark::State& state) {
  Files& f = TheFiles();
  f.ResetMain();
  const text::Text type("2"), group(store_bench::TargetGroup(kGroups).c_str());
  {
    text::Text choice(kChoice);
    const frame::Result reply = step::StepHandler(choice, type, group);
    if (!reply || reply->find(text::Text(kProgress) + kChoice) == text::Text::npos)
      state.SkipWithError("the step does not reach the node");
    store::WriteValue(f.main, text::View(group), store_bench::kProgress, kProgress);
  }
  for (auto _ : state) {
    text::Text choice(kChoice);
    benchmark::DoNotOptimize(step::StepHandler(choice, type, group));
    state.PauseTiming();
    store::WriteValue(f.main, text::View(group), store_bench::kProgress, kProgress);
    state.ResumeTiming();
  }
  SetCounters(state);
}

// One start by an administrator: two reads of the story, two of the main
// file and two writes of it.
void BM_StartCall(benchmark::State& state) {
  Files& f = TheFiles();
  f.ResetMain();
  store::WriteValue(f.main, kAdmin, store_bench::TargetGroup(kGroups), "20001|20002");
  const text::Text type("2"), group(store_bench::TargetGroup(kGroups).c_str()), sender("20002");
  {
    text::Text story(kStoryName);
    const frame::Result reply = start::StartHandler(story, type, group, sender);
    if (!reply || reply->empty()) state.SkipWithError("the start is refused");
  }
  for (auto _ : state) {
    text::Text story(kStoryName);
    benchmark::DoNotOptimize(start::StartHandler(story, type, group, sender));
  }
  SetCounters(state);
}

// The reads inside the calls, one by one: the root of the story (its name
// "1" occurs in every header and most node texts) and the benchmarked group.
void BM_ReadStoryRoot(benchmark::State& state) {
  const Files& f = TheFiles();
  for (auto _ : state) benchmark::DoNotOptimize(store::ReadValue(f.story, "1", kStart));
}

void BM_ReadGroup(benchmark::State& state) {
  Files& f = TheFiles();
  f.ResetMain();
  const std::string group = store_bench::TargetGroup(kGroups);
  for (auto _ : state) benchmark::DoNotOptimize(store::ReadValue(f.main, group, store_bench::kProgress));
}

void ReadWhole(const std::string& path, std::string* buffer) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  fstat(fd, &st);
  buffer->resize(static_cast<std::size_t>(st.st_size));
  benchmark::DoNotOptimize(read(fd, &(*buffer)[0], buffer->size()));
  close(fd);
}

// The floor of either call: both files read once, whole.
void BM_CallFloor(benchmark::State& state) {
  Files& f = TheFiles();
  f.ResetMain();
  std::string main, story;
  for (auto _ : state) {
    ReadWhole(f.main, &main);
    ReadWhole(f.story, &story);
    benchmark::ClobberMemory();
  }
  SetCounters(state);
}

// 1 MiB of a chat text: GBK words, spaces, CR LF pairs and markers.
const std::string& MebibyteText() {
  static const std::string t = [] {
    const std::string piece = "\xC4\xE3\xBA\xC3 [a] \r\n\xCA\xC0\xBD\xE7\\n" "abc ";  // 你好 世界
    std::string out;
    while (out.size() + piece.size() <= (1 << 20)) out += piece;
    out.resize(1 << 20, 'x');
    return out;
  }();
  return t;
}

void BM_TextFloor(benchmark::State& state) {
  const std::string& t = MebibyteText();
  for (auto _ : state) benchmark::DoNotOptimize(text::Text(t.data(), t.size()));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}

void BM_Strip(benchmark::State& state) {
  const std::string& t = MebibyteText();
  for (auto _ : state) {
    text::Text v(t.data(), t.size());
    benchmark::DoNotOptimize(text::Strip(v));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}

// The end marker comes last, so the whole text is walked.
void BM_TextBetween(benchmark::State& state) {
  const std::string t = MebibyteText() + "END";
  for (auto _ : state) benchmark::DoNotOptimize(text::TextBetween(t, "[A]", "end"));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}

void BM_FindMissing(benchmark::State& state) {
  const std::string& t = MebibyteText();
  for (auto _ : state) benchmark::DoNotOptimize(text::Find(t, "\xC3\xBB\xD3\xD0", text::kNoStart, false));  // 没有
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}

void BM_Split(benchmark::State& state) {
  const std::string& t = MebibyteText();
  for (auto _ : state) benchmark::DoNotOptimize(text::Split(t, "\r\n"));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}

void BM_Replace(benchmark::State& state) {
  const std::string& t = MebibyteText();
  for (auto _ : state) benchmark::DoNotOptimize(text::Replace(t, " ", "__"));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}

}  // namespace

BENCHMARK(BM_StepCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CallFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadStoryRoot)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadGroup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Strip)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextBetween)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindMissing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Split)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Replace)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
