#include "assembler_driver.h"

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

const char kDemo[] = "kiv demo {\r\nvar {\r\n}\r\nbegin {\r\n    print \"x\"\r\n}\r\n}\r\n";

// The source is only read, never opened for update: a source the user may
// not write is assembled like any other. (End-to-end cases cover the other
// paths of the driver; their files cannot be made read-only.)
TEST_F(AssemblerDriverTest, ReadOnlySourceIsAccepted) {
  writeSource(kDemo);
  ASSERT_EQ(chmod(source_.c_str(), 0444), 0);
  EXPECT_EQ(run({self_, source_}), 0);
  EXPECT_EQ(output_, "assembled with (0) errors\n");
  EXPECT_EQ(readFile(directory_ + "demo.kiv"), "var{con0&:0}code{12!\"x\":0,stop@,0!0:0}");
  EXPECT_EQ(starter_.calls.size(), 1u);
  chmod(source_.c_str(), 0644);
}

// An interpreter that fails makes the run fail, after the usual closing line.
TEST_F(AssemblerDriverTest, FailingInterpreterGivesStatusOne) {
  writeSource(kDemo);
  starter_.result.succeeded = false;
  EXPECT_EQ(run({self_, source_}), 1);
  EXPECT_EQ(output_, "assembled with (0) errors\n");
}

}  // namespace
