#include "translator_driver.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// A perl that fails (a script it cannot run) makes the translation fail,
// though the translator itself found nothing to report.
TEST(TranslatorDriver, FailingPerlGivesStatusOne) {
  std::string directory = freshDirectory();
  std::string source = directory + "fine.tarnel";
  std::ofstream(source, std::ios::binary)
      << "kiv fine {\r\nvar {\r\n}\r\nbegin {\r\nprint \"yes\"\r\n}\r\n}\r\n";
  RecordingStarter starter;
  starter.result.succeeded = false;

  testing::internal::CaptureStdout();
  int status = runTranslator({directory + "tarnel_perl", source}, starter);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(starter.calls.size(), 1u);
  fs::remove_all(directory);
}

// Front-end errors are counted for the whole process, so this binary holds
// the one driver test that makes the front end count one.
TEST(TranslatorDriver, FrontEndErrorsWriteNoScriptAndStartNothing) {
  std::string directory = freshDirectory();
  std::string source = directory + "broken.tarnel";
  std::ofstream(source, std::ios::binary)
      << "kiv broken {\r\nvar {\r\nvar% x\r\n}\r\nbegin {\r\nprint \"no\"\r\n}\r\n}\r\n";
  RecordingStarter starter;

  testing::internal::CaptureStdout();
  int status = runTranslator({directory + "tarnel_perl", source}, starter);
  std::string output = testing::internal::GetCapturedStdout();

  EXPECT_EQ(status, 1);
  EXPECT_EQ(output, "error(1) invalid variable decleration\n assembled with (1) error(s) \n");
  EXPECT_FALSE(fs::exists(directory + "broken.pl"));
  EXPECT_TRUE(starter.calls.empty());
  fs::remove_all(directory);
}

}  // namespace
