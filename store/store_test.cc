// The game store over the native profile routines: paths, the read rules
// (leading bytes, empty names, the 10239-byte cut, empty values), writes and
// section deletes, on real files below a run directory of the test's own.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "store/run_directory.h"
#include "store/store.h"

namespace store {
namespace {

constexpr char kMainConfigUtf8[] = "\xE7\x94\x9F\xE5\xAD\x98\xE9\x85\x8D\xE7\xBD\xAE.ini";  // 生存配置.ini
constexpr char kGame[] = "\xBD\xF8\xD0\xD0\xB5\xC4\xD3\xCE\xCF\xB7";                        // 进行的游戏
constexpr char kProgress[] = "\xBD\xF8\xB6\xC8";                                               // 进度
constexpr char kTime[] = "\xCA\xB1\xBC\xE4";                                                   // 时间
constexpr char kAdmins[] = "\xC8\xBA\xC9\xFA\xB4\xE6\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED";       // 群生存权限管理
constexpr char kForest[] = "\xC9\xAD\xC1\xD6";                                                 // 森林

std::string S(const text::Text& t) { return std::string(t.data(), t.size()); }

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/store_test.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    run_ = tmpl;
    root_ = run_ + "/config/Veldrin";
    ASSERT_EQ(std::system(("mkdir -p '" + root_ + "'").c_str()), 0);
    SetRunDirectoryForTesting(text::Text(run_.c_str()));
    main_ = S(MainConfigPath());
  }
  void TearDown() override { std::system(("rm -rf '" + run_ + "'").c_str()); }

  void Put(const std::string& bytes) { std::ofstream(main_, std::ios::binary) << bytes; }
  std::string Get() const {
    std::ifstream in(main_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::string Read(std::string_view section, std::string_view key) { return S(ReadValue(main_, section, key)); }

  std::string run_, root_, main_;
};

TEST_F(StoreTest, PathsBelowTheRunDirectory) {
  EXPECT_EQ(main_, root_ + "/" + kMainConfigUtf8);
  EXPECT_EQ(S(StoryPath(kForest)), root_ + "/\xE6\xA3\xAE\xE6\x9E\x97.ini");  // 森林.ini
  EXPECT_EQ(S(StoryPath("")), root_ + "/.ini");
}

TEST_F(StoreTest, ReadRules) {
  Put(std::string("[") + kAdmins + "]\r\n100=1|2\r\n[100]\r\n" + kGame + "=" + kForest + "\r\n" + kProgress +
      "=\r\n");
  struct Case {
    const char* what;
    std::string file, section, key, want;
  };
  const Case cases[] = {
      {"present", main_, "100", kGame, kForest},
      {"leading blanks and control bytes skipped", " \t\r\n" + main_, "\x01 100", "\x1F " + std::string(kGame),
       kForest},
      {"empty value reads as missing", main_, "100", kProgress, ""},
      {"absent key", main_, "100", kTime, ""},
      {"absent section", main_, "200", kGame, ""},
      {"absent file", root_ + "/none.ini", "100", kGame, ""},
      {"empty key name", main_, "100", "", ""},
      {"key name of blanks only", main_, "100", " \t ", ""},
      {"empty section name", main_, "  ", kGame, ""},
      {"empty file name", " ", "100", kGame, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(S(ReadValue(c.file, c.section, c.key)), c.want) << c.what;
}

TEST_F(StoreTest, LongValuesAreCutAt10239Bytes) {
  const std::string exact(10239, 'a'), over(10240, 'b'), wide = std::string(10238, 'c') + "\xC4\xE3";
  WriteValue(main_, "1", "k", exact);
  WriteValue(main_, "2", "k", over);
  WriteValue(main_, "3", "k", wide);
  EXPECT_EQ(Read("1", "k"), exact);
  EXPECT_EQ(Read("2", "k"), over.substr(0, 10239));
  EXPECT_EQ(Read("3", "k"), wide.substr(0, 10238));  // never half a character
}

TEST_F(StoreTest, EmptyValueWrittenStaysAsAKeyAndReadsAsMissing) {
  WriteValue(main_, "100", kProgress, "1");
  WriteValue(main_, "100", kProgress, "");
  EXPECT_EQ(Get(), std::string("[100]\r\n") + kProgress + "=\r\n");
  EXPECT_EQ(Read("100", kProgress), "");
}

TEST_F(StoreTest, WritesCreateTheSectionAndDeleteKeepsTheOthers) {
  const std::string admins = std::string("[") + kAdmins + "]\r\n100=1|2\r\n";
  Put(admins);
  for (const char* group : {"100", "200"}) {
    WriteValue(main_, group, kGame, kForest);
    WriteValue(main_, group, kProgress, "1");
    WriteValue(main_, group, kTime, "2024\xC4\xEA");
  }
  DeleteSection(main_, "100");
  EXPECT_EQ(Get(), admins + "[200]\r\n" + kGame + "=" + kForest + "\r\n" + kProgress + "=1\r\n" + kTime +
                       "=2024\xC4\xEA\r\n");
  EXPECT_EQ(Read("100", kGame), "");
  EXPECT_EQ(Read(kAdmins, "100"), "1|2");
}

TEST_F(StoreTest, NothingIsWrittenWithoutTheConfigurationRoot) {
  ASSERT_EQ(std::system(("rm -rf '" + run_ + "/config'").c_str()), 0);
  WriteValue(main_, "100", kProgress, "1");
  DeleteSection(main_, "100");
  struct stat st;
  EXPECT_NE(stat((run_ + "/config").c_str(), &st), 0);
}

}  // namespace
}  // namespace store
