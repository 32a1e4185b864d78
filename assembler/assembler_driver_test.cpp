#include "assembler_driver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "front_end.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class RecordingStarter : public ProgramStarter {
 public:
  StartResult run(const std::vector<std::string>& argv) override {
    calls.push_back(argv);
    return StartResult{true, ""};
  }
  std::vector<std::vector<std::string>> calls;
};

// A fresh directory of its own for each test, so that tests run in
// parallel never share a file; ends in '/'.
std::string freshDirectory() {
  std::string pattern = ::testing::TempDir() + "tarnel_test.XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) return ::testing::TempDir();
  return pattern + "/";
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class AssemblerDriverTest : public ::testing::Test {
 protected:
  void SetUp() override { errorCount = 0; }
  void TearDown() override {
    std::remove(source_.c_str());
    std::remove((directory_ + "demo.kiv").c_str());
    rmdir(directory_.c_str());
  }
  void writeSource(const std::string& bytes) {
    std::ofstream out(source_, std::ios::binary);
    out << bytes;
  }
  // Runs the driver as directory/tarnel on args; returns its status.
  int run(const std::vector<std::string>& args) {
    CaptureStdout();
    int status = runAssembler(args, starter_);
    output_ = GetCapturedStdout();
    return status;
  }
  std::string directory_ = freshDirectory();
  std::string self_ = directory_ + "tarnel";
  std::string source_ = directory_ + "driver_test.tarnel";
  std::string output_;
  RecordingStarter starter_;
};

const char kDemoCrLf[] =
    "kiv demo {\r\nvar {\r\nvar& count := 3\r\nvar$ msg\r\n}\r\nbegin {\r\ntop:\r\n"
    "    print count ; show it\r\n    dec count\r\n    cmp count,0\r\n    jg top\r\n}\r\n}\r\n";
const char kDemoBytecode[] =
    "var{count&:3,msg$:\"\",con0&:0}"
    "code{top@,12!count:0,3!count:0,14!count:0,19!top:0,stop@,0!0:0}";

TEST_F(AssemblerDriverTest, WrongArgumentCountShowsUsage) {
  EXPECT_EQ(run({self_}), 1);
  EXPECT_EQ(output_, "[invalid syntax]\n" + self_ + " source.tarnel\n\n");
  EXPECT_EQ(run({self_, "a", "b"}), 1);
  EXPECT_EQ(output_, "[invalid syntax]\n" + self_ + " source.tarnel\n\n");
  EXPECT_TRUE(starter_.calls.empty());
}

TEST_F(AssemblerDriverTest, MissingFileIsReported) {
  EXPECT_EQ(run({self_, source_}), 1);
  EXPECT_EQ(output_, "file " + source_ + " not found .. \n");
}

TEST_F(AssemblerDriverTest, AssemblesAndStartsInterpreter) {
  writeSource(kDemoCrLf);
  EXPECT_EQ(run({self_, source_}), 0);
  EXPECT_EQ(output_, "assembled with (0) errors\n");
  EXPECT_EQ(readFile(directory_ + "demo.kiv"), kDemoBytecode);
  ASSERT_EQ(starter_.calls.size(), 1u);
  EXPECT_EQ(starter_.calls[0],
            (std::vector<std::string>{directory_ + "kivinterp", directory_ + "demo.kiv"}));
}

TEST_F(AssemblerDriverTest, LineFeedFileGivesSameBytecode) {
  std::string lineFeeds;
  for (const char* c = kDemoCrLf; *c != '\0'; ++c) {
    if (*c != '\r') lineFeeds += *c;
  }
  writeSource(lineFeeds);
  EXPECT_EQ(run({self_, source_}), 0);
  EXPECT_EQ(readFile(directory_ + "demo.kiv"), kDemoBytecode);
}

TEST_F(AssemblerDriverTest, ReadOnlySourceIsAccepted) {
  writeSource(kDemoCrLf);
  ASSERT_EQ(chmod(source_.c_str(), 0444), 0);
  EXPECT_EQ(run({self_, source_}), 0);
  EXPECT_EQ(output_, "assembled with (0) errors\n");
  chmod(source_.c_str(), 0644);
}

TEST_F(AssemblerDriverTest, FrontEndErrorsStopBeforeTheBackEnd) {
  writeSource("kiv demo {\r\nvar {\r\nvar x\r\n}\r\n}\r\n");
  EXPECT_EQ(run({self_, source_}), 1);
  EXPECT_EQ(output_,
            "error(1) invalid variable decleration\n"
            "error(2)  begin block not found \n"
            " assembled with (2) error(s) \n");
  EXPECT_TRUE(starter_.calls.empty());
}

TEST_F(AssemblerDriverTest, BackEndErrorsChangeTheClosingLine) {
  writeSource("kiv demo {\r\nvar {\r\n}\r\nbegin {\r\nret x\r\n}\r\n}\r\n");
  EXPECT_EQ(run({self_, source_}), 1);
  EXPECT_EQ(output_, "error(1) invalid instruction [ret]\n assembled with (1) error(s) \n");
  EXPECT_EQ(readFile(directory_ + "demo.kiv"), "var{con0&:0}code{stop@,0!0:0}");
  EXPECT_EQ(starter_.calls.size(), 1u);
}

}  // namespace
