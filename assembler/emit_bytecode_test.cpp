#include "emit_bytecode.h"

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
    return result;
  }
  std::vector<std::vector<std::string>> calls;
  StartResult result{true, ""};
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

class EmitBytecodeTest : public ::testing::Test {
 protected:
  void SetUp() override { errorCount = 0; }
  void TearDown() override {
    std::remove((directory_ + "demo.kiv").c_str());
    rmdir(directory_.c_str());
  }
  std::string directory_ = freshDirectory();
  RecordingStarter starter_;
};

TEST_F(EmitBytecodeTest, WritesFileBesideProgramAndStartsInterpreter) {
  CaptureStdout();
  emitBytecode(directory_, "demo", ProgramTables(), starter_);
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(readFile(directory_ + "demo.kiv"), "var{con0&:0}code{stop@,0!0:0}");
  ASSERT_EQ(starter_.calls.size(), 1u);
  EXPECT_EQ(starter_.calls[0],
            (std::vector<std::string>{directory_ + "kivinterp", directory_ + "demo.kiv"}));
}

TEST_F(EmitBytecodeTest, BareProgramNameStartsInterpreterThroughPath) {
  RecordingStarter starter;
  std::string cwd = directory_;
  // An empty directory means the current one: the file lands there and the
  // interpreter is named bare.
  ASSERT_EQ(chdir(cwd.c_str()), 0);
  emitBytecode("", "demo", ProgramTables(), starter);
  ASSERT_EQ(starter.calls.size(), 1u);
  EXPECT_EQ(starter.calls[0], (std::vector<std::string>{"kivinterp", "demo.kiv"}));
}

TEST_F(EmitBytecodeTest, FileThatCannotBeWrittenStartsNothing) {
  CaptureStdout();
  emitBytecode(directory_ + "no/such/dir/", "demo", ProgramTables(), starter_);
  EXPECT_EQ(GetCapturedStdout(), "error(1) cannot write " + directory_ + "no/such/dir/demo.kiv\n");
  EXPECT_TRUE(starter_.calls.empty());
  EXPECT_EQ(errorCount, 1);
}

TEST_F(EmitBytecodeTest, ReportsInterpreterThatCannotStart) {
  starter_.result = StartResult{false, "No such file or directory"};
  CaptureStdout();
  emitBytecode(directory_, "demo", ProgramTables(), starter_);
  EXPECT_EQ(GetCapturedStdout(),
            "error(1) cannot start " + directory_ + "kivinterp: No such file or directory\n");
}

}  // namespace
