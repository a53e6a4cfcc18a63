// The native profile routines: the format rules (the fast read agrees with
// the parsed layout), failed writes that leave the old file, permissions,
// changes by others seen at once, concurrent writers and writers killed in
// the middle of a write.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "store/profile.h"
#include "store/profile_format.h"
#include "store/profile_posix_calls.h"
#include "text/test_hex.h"

namespace store {
namespace {

using test_support::Hex;

std::string S(const text::Text& t) { return std::string(t.data(), t.size()); }
text::Text T(const std::string& s) { return text::Text(s.data(), s.size()); }

// A fresh directory per test, removed with everything in it.
class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/profile_test.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    path_ = dir_ + "/\xE7\x94\x9F\xE5\xAD\x98\xE9\x85\x8D\xE7\xBD\xAE.ini";  // 生存配置.ini
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0755);
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }

  void Put(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string Get() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  void Write(const std::string& section, const std::string& key, const std::string& value) {
    const text::Text k = T(key), v = T(value);
    ProfileWrite(T(path_), T(section), &k, &v);
  }
  std::string Read(const std::string& section, const std::string& key) {
    return S(ProfileRead(T(path_), T(section), T(key)));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    const std::string cmd = "ls -A '" + dir_ + "'";
    FILE* p = popen(cmd.c_str(), "r");
    char line[512];
    while (p && fgets(line, sizeof line, p)) names.emplace_back(line, strcspn(line, "\n"));
    if (p) pclose(p);
    return names;
  }

  std::string dir_;
  std::string path_;
};

// The layout's view of a read, for comparing with the fast path.
text::Text LayoutRead(std::string_view bytes, std::string_view section, std::string_view key) {
  const ProfileLayout layout = ParseProfile(bytes);
  const int s = FindProfileSection(layout, section);
  if (s < 0) return text::Text();
  const int k = FindProfileKey(layout, s, key);
  if (k < 0) return text::Text();
  return ProfileReadResult(layout, layout.sections[s].keys[k], kProfileBufferSize);
}

TEST(ProfileFormat, LayoutShowsSectionsKeysLinesAndTheOccurrenceUsed) {
  const std::string file = "k0=top\r\n\r\n  [a]  \r\n;note\r\nk = 1\r\n[A]\nk=2\rj\r\n[\x81\x5D]\r\nk=3";
  const ProfileLayout layout = ParseProfile(file);
  ASSERT_EQ(layout.sections.size(), 4u);
  EXPECT_EQ(layout.sections[0].keys.size(), 1u);
  EXPECT_EQ(layout.sections[1].name, "a");
  EXPECT_EQ(layout.sections[1].line, 3);
  ASSERT_EQ(layout.sections[1].keys.size(), 2u);
  EXPECT_EQ(layout.sections[1].keys[0].name, ";note");
  EXPECT_FALSE(layout.sections[1].keys[0].has_value);
  EXPECT_EQ(layout.sections[1].keys[1].line, 5);
  EXPECT_EQ(layout.sections[2].line, 6);
  EXPECT_EQ(layout.sections[2].keys[1].line, 8);  // after a lone LF and a lone CR
  EXPECT_EQ(layout.sections[3].name, "\x81\x5D");
  EXPECT_EQ(layout.sections[3].keys[0].line, 10);
  // Reads of "A" meet the first section of that name, whatever the case.
  EXPECT_EQ(FindProfileSection(layout, " A "), 1);
  EXPECT_EQ(FindProfileKey(layout, 1, "K"), 1);
}

// Hand-picked files, and many random ones made of the bytes that matter to
// the format: the fast read must give what the layout gives.
TEST(ProfileFormat, FastReadAgreesWithTheLayout) {
  struct Case {
    std::string file, section, key;
  };
  const std::vector<Case> cases = {
      {"[a]\r\nk=v\r\n", "a", "k"},
      {"x=[a]\r\n[a]\r\nk=v\r\n", "a", "k"},
      {"[a\r\nk=1\r\n[a]\r\nk=2\r\n", "a", "k"},
      {" \t[a] junk\r\nk=v\r\n", "a", "k"},
      {"\x81[a]\r\nk=1\r\n[a]\r\nk=2", "a", "k"},
      {"k=top\r\n[a]\r\nk=v\r\n", "", "k"},
      {"\xEF\xBB\xBF[a]\r\nk=\xE4\xBD\xA0\r\n", "a", "k"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(ReadProfileValue(c.file, c.section, c.key, kProfileBufferSize)),
              S(LayoutRead(c.file, c.section, c.key)))
        << Hex(c.file);

  const char* const pieces[] = {"[", "]", "=", " ", "\t", "\r", "\n", "\r\n", "a", "A", "b", "k", "K",
                                ";", "\"", "\x81", "\x81\x5D", "\xC4\xE3", "\x00", "[a]", "k=", "\x1A"};
  const char* const names[] = {"a", "A", " a", "b", "k", "K", "\xC4\xE3", "a]", ""};
  std::mt19937 random(20261211);
  for (int round = 0; round < 20000; ++round) {
    std::string file;
    const int n = static_cast<int>(random() % 24);
    for (int i = 0; i < n; ++i) {
      const char* p = pieces[random() % (sizeof pieces / sizeof *pieces)];
      file += p[0] == '\0' ? std::string(1, '\0') : std::string(p);
    }
    const std::string section = names[random() % (sizeof names / sizeof *names)];
    const std::string key = names[random() % (sizeof names / sizeof *names)];
    ASSERT_EQ(S(ReadProfileValue(file, section, key, kProfileBufferSize)), S(LayoutRead(file, section, key)))
        << "file " << Hex(file) << " section " << Hex(section) << " key " << Hex(key);
  }

  // Names of digits only, four or more of them, are looked for as they stand:
  // files of digits that repeat, so that the name and parts of it occur
  // everywhere, in names, values and across lines.
  const char* const digit_pieces[] = {"[", "]", "=", " ", "\r\n", "1", "2", "12", "21", "1212", "2121", "12121",
                                      "[1212]", "[12121]", "[121212]", "k=", "\xC4\xE3", "\x81"};
  const char* const digit_names[] = {"1212", "12121", "121212", "2121", "21212"};
  for (int round = 0; round < 20000; ++round) {
    std::string file;
    const int n = static_cast<int>(random() % 40);
    for (int i = 0; i < n; ++i) file += digit_pieces[random() % (sizeof digit_pieces / sizeof *digit_pieces)];
    const std::string section = digit_names[random() % (sizeof digit_names / sizeof *digit_names)];
    ASSERT_EQ(S(ReadProfileValue(file, section, "k", kProfileBufferSize)), S(LayoutRead(file, section, "k")))
        << "file " << Hex(file) << " section " << Hex(section);
  }
}

// Files already in plain form take a short way through a write; a blank line
// at the end sends the same file the long way. Both must give the same bytes,
// and a second identical write must find nothing to change.
TEST(ProfileFormat, PlainFilesAreEditedLikeAnyOther) {
  const char* const lines[] = {"[a]", "[A]", "[b]", "[\xC4\xE3]", "[\x81\x5D]", "[a]b]", "[a", "x=[a]", "k=1", "K=2",
                               "j=",  ";c",  "k",   "\xC4\xE3=\xBA\xC3", "=v", "k=a = b", "[ a ]", "k =1", "[]"};
  const char* const names[] = {"a", "A", "b", "\xC4\xE3", "\x81\x5D", "k", "j", "\xC4\xE3", "new"};
  std::mt19937 random(4242);
  for (int round = 0; round < 20000; ++round) {
    std::string file;
    const int n = static_cast<int>(random() % 12);
    for (int i = 0; i < n; ++i) file += std::string(lines[random() % (sizeof lines / sizeof *lines)]) + "\r\n";
    const std::string_view section = names[random() % (sizeof names / sizeof *names)];
    const std::string_view key = names[random() % (sizeof names / sizeof *names)];
    const std::string_view value = random() % 2 ? "1" : "v2";
    const int op = static_cast<int>(random() % 3);  // set, remove the key, remove the section
    const std::string_view* k = op == 2 ? nullptr : &key;
    const std::string_view* v = op == 0 ? &value : nullptr;
    text::Text plain, untidy;
    const bool changed = EditProfile(file, section, k, v, &plain);
    ASSERT_EQ(EditProfile(file + "\r\n\r\n", section, k, v, &untidy), changed) << Hex(file);
    if (!changed) continue;
    ASSERT_EQ(S(plain), S(untidy)) << "file " << Hex(file) << " op " << op << " " << section << " " << key;
    if (op == 0) {
      text::Text again;
      ASSERT_FALSE(EditProfile(S(plain), section, k, v, &again)) << Hex(file);
      ASSERT_EQ(S(ReadProfileValue(S(plain), section, key, kProfileBufferSize)), value) << Hex(file);
    }
  }
}

TEST(ProfileFormat, WritesThatChangeNothingLeaveTheBytes) {
  text::Text out;
  const std::string_view key = "k", same = "v", other = "w";
  EXPECT_FALSE(EditProfile(" [s]\r\n k = v \r\n\r\n", "s", &key, &same, &out));
  EXPECT_FALSE(EditProfile("[s]\r\nk=v\r\n", "t", nullptr, nullptr, &out));
  EXPECT_FALSE(EditProfile("[s]\r\nk=v\r\n", " s", nullptr, nullptr, &out));
  EXPECT_FALSE(EditProfile("[s]\r\nk=v\r\n", "s", &other, nullptr, &out));
  ASSERT_TRUE(EditProfile(" [s]\r\n k = v \r\n\r\n", "s", &key, &other, &out));
  EXPECT_EQ(S(out), "[s]\r\nk=w\r\n");
}

TEST_F(ProfileFileTest, MissingFileAndMissingDirectory) {
  EXPECT_EQ(Read("s", "k"), "");
  const std::string nowhere = dir_ + "/missing/x.ini";
  const text::Text k("k"), v("v");
  ProfileWrite(T(nowhere), text::Text("s"), &k, &v);
  EXPECT_EQ(Names(), std::vector<std::string>{});
  ProfileWrite(T(path_), text::Text("s"), nullptr, nullptr);  // deleting from no file creates none
  EXPECT_EQ(Names(), std::vector<std::string>{});
  Write("s", "k", "v");
  EXPECT_EQ(Get(), "[s]\r\nk=v\r\n");
}

// A failure at any step of the replacement leaves the old file byte for byte
// and no temporary file behind, and reports nothing.
TEST_F(ProfileFileTest, FailedWriteLeavesTheOldFile) {
  const std::string old = "[admin]\r\n1=2|3\r\n[g]\r\nk=old\r\n";
  ProfileSystemCalls& calls = MutableProfileSystemCalls();
  const ProfileSystemCalls real = calls;
  struct Failure {
    const char* what;
    void (*inject)(ProfileSystemCalls&);
  };
  const Failure failures[] = {
      {"disk full", [](ProfileSystemCalls& c) {
         c.write = [](int, const void*, size_t) -> ssize_t { errno = ENOSPC; return -1; };
       }},
      {"short writes, then full", [](ProfileSystemCalls& c) {
         c.write = [](int fd, const void* data, size_t size) -> ssize_t {
           static int calls = 0;
           if (++calls % 3 == 0) { errno = ENOSPC; return -1; }
           return ::write(fd, data, size < 5 ? size : 5);
         };
       }},
      {"flush fails", [](ProfileSystemCalls& c) { c.fsync = [](int) { errno = EIO; return -1; }; }},
      {"rename fails", [](ProfileSystemCalls& c) {
         c.rename = [](const char*, const char*) { errno = EXDEV; return -1; };
       }},
  };
  for (const Failure& f : failures) {
    Put(old);
    f.inject(calls);
    Write("g", "k", "new value that is longer than the old one");
    calls = real;
    EXPECT_EQ(Get(), old) << f.what;
    EXPECT_EQ(Names().size(), 1u) << f.what;
  }
  Write("g", "k", "new");
  EXPECT_EQ(Read("g", "k"), "new");
}

TEST_F(ProfileFileTest, ReadOnlyFileStaysAsItIs) {
  Put("[g]\r\nk=old\r\n");
  chmod(path_.c_str(), 0444);
  Write("g", "k", "new");
  EXPECT_EQ(Get(), "[g]\r\nk=old\r\n");
}

TEST_F(ProfileFileTest, RewriteKeepsPermissionsAndFollowsLinks) {
  Put("[g]\r\nk=old\r\n");
  chmod(path_.c_str(), 0640);
  Write("g", "k", "new");
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  const std::string link = dir_ + "/link.ini";
  ASSERT_EQ(symlink(path_.c_str(), link.c_str()), 0);
  const text::Text k("k"), v("via link");
  ProfileWrite(T(link), text::Text("g"), &k, &v);
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(Read("g", "k"), "via link");
}

// Nothing is cached: a change by an editor shows in the very next read, even
// one of the same size made within the same second.
TEST_F(ProfileFileTest, EveryReadSeesTheFileAsItIsNow) {
  Put("[g]\r\nk=1\r\n");
  EXPECT_EQ(Read("g", "k"), "1");
  Put("[g]\r\nk=2\r\n");
  EXPECT_EQ(Read("g", "k"), "2");
  Write("g", "k", "3");
  Put("[g]\r\nk=4\r\n");
  EXPECT_EQ(Read("g", "k"), "4");
  std::remove(path_.c_str());
  EXPECT_EQ(Read("g", "k"), "");
}

// Two processes of several threads each write distinct keys into one file at
// once; every one of them ends up in it.
TEST_F(ProfileFileTest, ConcurrentWritersLoseNothing) {
  Put("[admin]\r\n1=2\r\n");
  constexpr int kProcesses = 2, kThreads = 2, kWrites = 250;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      std::vector<std::thread> threads;
      for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([this, p, t] {
          for (int i = 0; i < kWrites; ++i) {
            const std::string n = std::to_string(p) + "-" + std::to_string(t) + "-" + std::to_string(i);
            Write(std::to_string(100000000 + (i % 7)), n, n);
          }
        });
      for (auto& th : threads) th.join();
      _exit(0);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::string bytes = Get();
  const ProfileLayout layout = ParseProfile(bytes);
  int keys = 0;
  for (const ProfileSection& s : layout.sections) keys += static_cast<int>(s.keys.size());
  EXPECT_EQ(keys, 1 + kProcesses * kThreads * kWrites);
  for (int p = 0; p < kProcesses; ++p)
    for (int t = 0; t < kThreads; ++t)
      for (int i = 0; i < kWrites; ++i) {
        const std::string n = std::to_string(p) + "-" + std::to_string(t) + "-" + std::to_string(i);
        ASSERT_EQ(S(ReadProfileValue(bytes, std::to_string(100000000 + (i % 7)), n, kProfileBufferSize)), n);
      }
  EXPECT_EQ(S(ReadProfileValue(bytes, "admin", "1", kProfileBufferSize)), "2");
}

// A writer killed at random moments always leaves the file exactly as it was
// after one of its writes, never a torn or empty one, and never goes back.
TEST_F(ProfileFileTest, WriterKilledMidWriteLeavesAWholeFile) {
  const std::string pad = "[pad]\r\nx=" + std::string(200000, 'x') + "\r\n";
  auto state = [&pad](long j) { return pad + "[g]\r\nk=" + std::to_string(j) + "\r\n"; };
  Put(state(0));
  std::mt19937 random(7);
  long last = 0;
  for (int kill_round = 0; kill_round < 100; ++kill_round) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (long j = std::atol(Read("g", "k").c_str()) + 1;; ++j) Write("g", "k", std::to_string(j));
    }
    usleep(500 + random() % 6000);
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const std::string bytes = Get();
    const long j = std::atol(Read("g", "k").c_str());
    ASSERT_EQ(bytes, state(j)) << "after kill " << kill_round << ", " << bytes.size() << " bytes";
    ASSERT_GE(j, last);
    last = j;
  }
  EXPECT_GT(last, 10);  // the writer really was writing all along
  EXPECT_LE(Names().size(), 2u);          // the file and at most the fixed temporary name
}

}  // namespace
}  // namespace store
