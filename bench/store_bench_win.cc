// The store operations through the Windows profile routines (run under Wine
// by scripts/bench-store) on the files of the native benchmark: read value,
// on a file left alone for a while and on one changed just now, write value
// and delete section. Prints "operation groups microseconds iterations".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "bench/store_bench_files.h"
#include "store/profile.h"

namespace {

using Clock = std::chrono::steady_clock;

text::Text T(const std::string& s) { return text::Text(s.data(), s.size()); }

// Runs `op` for about `budget` (at least three times) and prints the mean.
template <class Op, class Between>
void Measure(const char* name, long groups, std::chrono::milliseconds budget, Op op, Between between) {
  double total_us = 0;
  long n = 0;
  const Clock::time_point end = Clock::now() + budget;
  while (n < 3 || Clock::now() < end) {
    const Clock::time_point t = Clock::now();
    op();
    total_us += std::chrono::duration<double, std::micro>(Clock::now() - t).count();
    ++n;
    between();
  }
  std::printf("%s %ld %.1f %ld\n", name, groups, total_us / n, n);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: store_bench_win DIRECTORY GROUPS...\n");
    return 2;
  }
  const std::string dir = argv[1];
  const auto budget = std::chrono::milliseconds(1500);
  for (int a = 2; a < argc; ++a) {
    const long groups = std::atol(argv[a]);
    const std::string path = dir + "\\wine_" + std::to_string(groups) + ".ini";
    const std::string bytes = store_bench::MainConfigBytes(groups);
    const text::Text file = T(path), section = T(store_bench::TargetGroup(groups)),
                     key(store_bench::kProgress);
    const auto nothing = [] {};

    // Changed just now: the routines must go back to the file each time.
    store_bench::WriteFile(path, bytes);
    Measure("read-changed", groups, budget, [&] { store::ProfileRead(file, section, key); }, nothing);
    // Left alone for longer than the routines' two-second window.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    Measure("read-settled", groups, budget, [&] { store::ProfileRead(file, section, key); }, nothing);

    const text::Text values[] = {text::Text("1213"), text::Text("12131")};
    int i = 0;
    Measure("write", groups, budget, [&] { store::ProfileWrite(file, section, &key, &values[++i % 2]); }, nothing);
    Measure("delete", groups, budget, [&] { store::ProfileWrite(file, section, nullptr, nullptr); },
            [&] { store_bench::WriteFile(path, bytes); });
  }
  return 0;
}
