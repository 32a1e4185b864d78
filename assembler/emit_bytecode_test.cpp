#include "emit_bytecode.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "front_end.h"
#include "test_support.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

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
