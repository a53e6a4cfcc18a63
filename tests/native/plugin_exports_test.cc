// The native plugin libraries from outside, as a host loads them: the five
// exports found by their code-page-936 names, and the result-slot rules.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using Info = const char* (*)();
using Plugmain = const char* (*)(const char*, const char*, const char*, const char*, const char*);
using OneText = const char* (*)(const char*);
using ThreeTexts = const char* (*)(const char*, const char*, const char*);

constexpr char kNickname[] = "\xBB\xF1\xC8\xA1\xEA\xC7\xB3\xC6";          // 获取昵称
constexpr char kBetween[] = "\xC8\xA1\xCE\xC4\xB1\xBE\xD6\xAE\xBC\xE4";  // 取文本之间
constexpr char kStrip[] = "\xC8\xA5\xBF\xD5\xB8\xF1\xBB\xBB\xD0\xD0";    // 去空格换行

struct PluginCase {
  const char* path;
  const char* info;
  const char* null_reply;  // plugmain of five null pointers
};

class PluginExports : public testing::TestWithParam<PluginCase> {
 protected:
  void SetUp() override {
    lib_ = dlopen(GetParam().path, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(nullptr, lib_) << dlerror();
    info_ = reinterpret_cast<Info>(dlsym(lib_, "info"));
    plugmain_ = reinterpret_cast<Plugmain>(dlsym(lib_, "plugmain"));
    nickname_ = reinterpret_cast<OneText>(dlsym(lib_, kNickname));
    between_ = reinterpret_cast<ThreeTexts>(dlsym(lib_, kBetween));
    strip_ = reinterpret_cast<OneText>(dlsym(lib_, kStrip));
    ASSERT_TRUE(info_ && plugmain_ && nickname_ && between_ && strip_);
  }
  void TearDown() override {
    if (lib_) dlclose(lib_);
  }

  void* lib_ = nullptr;
  Info info_ = nullptr;
  Plugmain plugmain_ = nullptr;
  OneText nickname_ = nullptr, strip_ = nullptr;
  ThreeTexts between_ = nullptr;
};

TEST_P(PluginExports, InfoBlockTwice) {
  const std::string first = info_();
  EXPECT_EQ(GetParam().info, first);
  EXPECT_STREQ(GetParam().info, info_());
}

TEST_P(PluginExports, PlugmainWithNullArguments) {
  const char* reply = plugmain_(nullptr, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, reply) << "an empty reply is a pointer to an empty text";
  EXPECT_STREQ(GetParam().null_reply, reply);
  char message[] = " 1\r\n";
  plugmain_(message, "1", "10001", "20002", "");
  EXPECT_STREQ(" 1\r\n", message) << "the host's text is never written to";
}

TEST_P(PluginExports, ResultSlots) {
  EXPECT_EQ(nullptr, strip_("   "));
  EXPECT_EQ(nullptr, strip_(nullptr));
  char spaced[] = "a b";
  EXPECT_STREQ("ab", strip_(spaced));
  EXPECT_STREQ("a b", spaced);

  const char* once = strip_("\\\\rr");
  EXPECT_STREQ("\\r", once);
  EXPECT_EQ(nullptr, strip_(once)) << "its own previous result as the argument";
  const char* between = between_("ab{cd}ef", "{", "}");
  EXPECT_STREQ("cd", between);
  EXPECT_STREQ("c", between_(between, "", "d"));

  const char* kept_between = between_("<B>Hi</b>", "<b>", "</B>");
  const char* kept_strip = strip_("x y");
  EXPECT_STREQ("Hi", kept_between);
  between_("[1]", "[", "]");
  EXPECT_STREQ("xy", kept_strip);
  EXPECT_EQ(nullptr, between_(nullptr, nullptr, nullptr));
}

INSTANTIATE_TEST_SUITE_P(
    BothPlugins, PluginExports,
    testing::Values(
        PluginCase{OSTRELLE_PATH,
                   "Veldrin\r\n2.0\r\nTamsiel\r\n\xCC\xF9\xB0\xC9\xD3\xCE\xCF\xB7Veldrin\r\n#\xBF\xAA\xCA\xBC\r\n"
                   "+\xC3\xB0\xCF\xD5\xD3\xCE\xCF\xB7\r\n\r\nplugmain\r\n1\r\n\xBC\xD9\r\n",
                   "\xC7\xEB\xD4\xDA\xC8\xBA\xC0\xEF\xCA\xB9\xD3\xC3\xB1\xBE\xB9\xA6\xC4\xDC"},  // 请在群里使用本功能
        PluginCase{BRANNICK_PATH,
                   "Brannick\r\n2.0\r\nTamsiel\r\n\xBF\xAA\xCA\xBCVeldrin\r\n#\xD1\xA1\xD4\xF1\r\n"
                   "+\xC4\xE3\xB5\xC4\xD1\xA1\xD4\xF1\r\n\r\nplugmain\r\n1\r\n\xBC\xD9\r\n",
                   ""}),
    [](const testing::TestParamInfo<PluginCase>& p) { return p.index == 0 ? "Ostrelle" : "Brannick"; });

}  // namespace
