#include "script_writer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "front_end.h"
#include "perl_script.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The numbered line reportError writes for the next error of this process.
std::string nextErrorLine(int ahead, const std::string& message) {
  return "error(" + std::to_string(errorCount + ahead) + ") " + message + "\n";
}

class ScriptWriter : public testing::Test {
 protected:
  void SetUp() override {
    directory_ = freshDirectory();
    tables_.reserveVariables(1);
    tables_.addVariable("n", "2", VariableInteger);
    tables_.reserveStatements(2);
    tables_.addInstruction("print", "n", "");
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string script() const {
    return perlScriptText(tables_, [](const std::string&) {});
  }

  // Runs writePerlScript and returns what it wrote on standard output.
  std::string write(const std::string& objectName, const std::string& directory) {
    testing::internal::CaptureStdout();
    writePerlScript(objectName, tables_, directory, starter_);
    return testing::internal::GetCapturedStdout();
  }

  std::string directory_;
  ProgramTables tables_;
  RecordingStarter starter_;
};

TEST_F(ScriptWriter, WritesTheScriptBesideTheProgramAndRunsPerlOnIt) {
  EXPECT_EQ(write("demo", directory_), "");
  EXPECT_EQ(readFile(directory_ + "demo.pl"), script());
  using Calls = std::vector<std::vector<std::string>>;
  EXPECT_EQ(starter_.calls, (Calls{{"perl", directory_ + "demo.pl"}}));
}

TEST_F(ScriptWriter, ReplacesAnEarlierScriptOfTheSameName) {
  std::ofstream(directory_ + "demo.pl") << std::string(5000, 'x');
  write("demo", directory_);
  EXPECT_EQ(readFile(directory_ + "demo.pl"), script());
}

TEST_F(ScriptWriter, PassesAPathWithBlanksAsOneArgument) {
  std::string spaced = directory_ + "my tools/";
  fs::create_directory(spaced);
  write("my demo", spaced);
  ASSERT_EQ(starter_.calls.size(), 1u);
  EXPECT_EQ(starter_.calls[0], (std::vector<std::string>{"perl", spaced + "my demo.pl"}));
  EXPECT_EQ(readFile(spaced + "my demo.pl"), script());
}

TEST_F(ScriptWriter, DoesNotStartPerlWhenTheScriptCannotBeWritten) {
  std::string missing = directory_ + "missing/";
  std::string wanted = nextErrorLine(1, "cannot write " + missing + "demo.pl");
  EXPECT_EQ(write("demo", missing), wanted);
  EXPECT_TRUE(starter_.calls.empty());
}

TEST_F(ScriptWriter, ReportsAPerlThatCannotBeStarted) {
  starter_.result = StartResult{false, "No such file or directory"};
  std::string wanted = nextErrorLine(1, "cannot start perl: No such file or directory");
  EXPECT_EQ(write("demo", directory_), wanted);
  EXPECT_EQ(readFile(directory_ + "demo.pl"), script());
}

TEST_F(ScriptWriter, NumbersStatementErrorsAndStillWritesAndRuns) {
  tables_.addInstruction("ret\r", "", "");
  std::string wanted = nextErrorLine(1, "invalid instruction [ret\r]");
  int before = errorCount;
  EXPECT_EQ(write("demo", directory_), wanted);
  EXPECT_EQ(errorCount, before + 1);
  EXPECT_EQ(readFile(directory_ + "demo.pl"), script());
  EXPECT_EQ(starter_.calls.size(), 1u);
}

}  // namespace
