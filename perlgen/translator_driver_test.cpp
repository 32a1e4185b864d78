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
