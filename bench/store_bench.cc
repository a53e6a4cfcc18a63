// Speed of the native profile routines on main configuration files of 100,
// 10,000 and 100,000 group sections: read value, write value and delete
// section, beside the floor of each (reading the whole file once and finding
// the section; writing the file once with the same durability).
//
// STORE_BENCH_DIR names the directory of the files (made when missing);
// without it a temporary directory is used.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/store_bench_files.h"
#include "store/profile.h"

namespace {

using store_bench::MainConfigBytes;
using store_bench::TargetGroup;

std::string BenchDirectory() {
  static const std::string dir = [] {
    if (const char* d = std::getenv("STORE_BENCH_DIR")) return std::string(d);
    char tmpl[] = "/tmp/store_bench.XXXXXX";
    return std::string(mkdtemp(tmpl));
  }();
  return dir;
}

// A fresh copy of the file of `groups` sections, for one benchmark.
std::string FreshFile(long groups, const char* what) {
  const std::string path = BenchDirectory() + "/" + what + "_" + std::to_string(groups) + ".ini";
  store_bench::WriteFile(path, MainConfigBytes(groups));
  return path;
}

text::Text T(const std::string& s) { return text::Text(s.data(), s.size()); }

void BM_ReadValue(benchmark::State& state) {
  const long groups = state.range(0);
  const text::Text file = T(FreshFile(groups, "read")), section = T(TargetGroup(groups)),
                   key(store_bench::kProgress);
  for (auto _ : state) benchmark::DoNotOptimize(store::ProfileRead(file, section, key));
}

// The floor of a read: the whole file read once into a buffer and the
// section's header found in it.
void BM_ReadFloor(benchmark::State& state) {
  const long groups = state.range(0);
  const std::string file = FreshFile(groups, "read_floor");
  const std::string header = "\n[" + TargetGroup(groups) + "]";
  std::string buffer;
  for (auto _ : state) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    fstat(fd, &st);
    buffer.resize(st.st_size);
    benchmark::DoNotOptimize(read(fd, &buffer[0], buffer.size()));
    close(fd);
    benchmark::DoNotOptimize(memmem(buffer.data(), buffer.size(), header.data(), header.size()));
  }
}

void BM_WriteValue(benchmark::State& state) {
  const long groups = state.range(0);
  const text::Text file = T(FreshFile(groups, "write")), section = T(TargetGroup(groups)),
                   key(store_bench::kProgress);
  const text::Text values[] = {text::Text("1213"), text::Text("12131")};
  int i = 0;
  for (auto _ : state) store::ProfileWrite(file, section, &key, &values[++i % 2]);
}

// The floor of a write: the same bytes written once to a temporary file,
// flushed, renamed over the file and the directory flushed.
void BM_WriteFloor(benchmark::State& state) {
  const long groups = state.range(0);
  const std::string file = FreshFile(groups, "write_floor"), temp = file + ".tmp";
  const std::string bytes = MainConfigBytes(groups);
  const int dir = open(BenchDirectory().c_str(), O_RDONLY | O_DIRECTORY);
  for (auto _ : state) {
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
    fsync(fd);
    close(fd);
    rename(temp.c_str(), file.c_str());
    fsync(dir);
  }
  close(dir);
}

void BM_DeleteSection(benchmark::State& state) {
  const long groups = state.range(0);
  const std::string path = FreshFile(groups, "delete");
  const std::string bytes = MainConfigBytes(groups);
  const text::Text file = T(path), section = T(TargetGroup(groups));
  for (auto _ : state) {
    store::ProfileWrite(file, section, nullptr, nullptr);
    // The section comes back on disk before the next delete is timed, so
    // that no flush of the restored file falls into it.
    state.PauseTiming();
    store_bench::WriteFile(path, bytes);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    fsync(fd);
    close(fd);
    state.ResumeTiming();
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_ReadValue)->Apply(Sizes);
BENCHMARK(BM_ReadFloor)->Apply(Sizes);
BENCHMARK(BM_WriteValue)->Apply(Sizes);
BENCHMARK(BM_WriteFloor)->Apply(Sizes);
BENCHMARK(BM_DeleteSection)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
