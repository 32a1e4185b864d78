#include "platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(ProgramDirectory, KeepsEverythingUpToTheLastSeparator) {
  const struct {
    const char* argv0;
    const char* wanted;
  } cases[] = {
      {"/usr/local/bin/tarnel", "/usr/local/bin/"},
      {"./tarnel", "./"},
      {"tarnel", ""},
      {"", ""},
      {"C:\\tools\\tarnel.exe", "C:\\tools\\"},
      {"/a\\b/c", "/a\\b/"},
      {"/a/b\\c", "/a/b\\"},
      {"/", "/"},
  };
  for (const auto& c : cases) EXPECT_EQ(programDirectory(c.argv0), c.wanted) << c.argv0;
}

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/platform_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  std::string dir_;
};

using FileExists = TempDir;

TEST_F(FileExists, AcceptsReadableFilesOnly) {
  std::string file = dir_ + "/source.tarnel";
  EXPECT_FALSE(fileExists(file));
  std::ofstream(file) << "kiv x {";
  EXPECT_TRUE(fileExists(file));
  chmod(file.c_str(), 0444);
  EXPECT_TRUE(fileExists(file));
  EXPECT_FALSE(fileExists(dir_));
  EXPECT_FALSE(fileExists(""));
}

using StartProgram = TempDir;

TEST_F(StartProgram, PassesArgumentsWholeWithoutAShell) {
  std::string out = dir_ + "/args out.txt";
  SystemProgramStarter starter;
  StartResult result =
      starter.run({"sh", "-c", "printf '%s|' \"$@\" > \"$0\"", out, "a b", "$(touch x)", "c;d"});
  ASSERT_TRUE(result.started) << result.reason;
  std::ifstream in(out);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "a b|$(touch x)|c;d|");
}

TEST_F(StartProgram, ReportsAProgramThatCannotStart) {
  SystemProgramStarter starter;
  StartResult result = starter.run({dir_ + "/no such program"});
  EXPECT_FALSE(result.started);
  EXPECT_EQ(result.reason, "No such file or directory");
  EXPECT_FALSE(starter.run({}).started);
}

TEST_F(StartProgram, IgnoresTheExitStatus) {
  SystemProgramStarter starter;
  EXPECT_TRUE(starter.run({"false"}).started);
}

}  // namespace
