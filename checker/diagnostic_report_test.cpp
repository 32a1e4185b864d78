// The console form of diagnostics: caret lines, the order of a diagnostic
// and its notes, the summary's words, and the program's exit statuses.
#include "diagnostic_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "check_driver.h"

namespace {

TEST(DiagnosticReport, DrawsTheCaretUnderTheRange) {
  struct Case {
    const char* line;
    int column;
    int length;
    const char* wanted;
  };
  const Case cases[] = {
      {"inc count;note", 9, 1, "        ^"},
      {"jmp loop", 5, 4, "    ^~~~"},
      {"\tinc x", 2, 3, "\t^~~"},  // a tab before the range stays a tab
      {"a\t\tb", 4, 1, " \t\t^"},
      {"ab", 2, 9, " ^"},     // cut at the end of the line
      {"ab", 5, 2, "    ^"},  // past the end: at least the caret
      {"", 1, 1, "^"},
      {"x \"h\xC3\xA9\" y", 8, 1, "      ^"},  // the two bytes of "é" take one column
      {"x \xE9 y", 5, 1, "    ^"},             // not UTF-8: one column per byte
      {"\"\xC3\xA9\xC3\xA9\"", 2, 4, " ^~"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(caretLine(c.line, c.column, c.length), c.wanted) << c.line;
  }
}

TEST(DiagnosticReport, WritesEachDiagnosticWithItsLineAndNotes) {
  Diagnostic warning;
  warning.line = 2;
  warning.column = 2;
  warning.length = 2;
  warning.severity = Severity::Warning;
  warning.message = "w";
  warning.notes.push_back(DiagnosticNote{1, 1, 3, "n"});
  Diagnostic error;
  error.line = 9;  // past the last line: shown with an empty line
  error.column = 1;
  error.message = "e";
  EXPECT_EQ(formatDiagnostics("f.tarnel", "one\r\ntwo\r\n", {warning, error}),
            "f.tarnel:2:2: warning: w\ntwo\n ^~\n"
            "f.tarnel:1:1: note: n\none\n^~~\n"
            "f.tarnel:9:1: error: e\n\n^\n");
}

TEST(DiagnosticReport, CountsInWords) {
  CheckTotals totals;
  EXPECT_EQ(summaryLine(totals), "0 errors, 0 warnings and 0 notes in 0 files");
  Diagnostic note;
  note.severity = Severity::Note;
  note.notes.push_back(DiagnosticNote());  // attached notes are not counted
  Diagnostic error;
  count({note, error}, totals);
  totals.files = 1;
  EXPECT_EQ(summaryLine(totals), "1 error, 0 warnings and 1 note in 1 file");
  count({error}, totals);
  totals.files = 2;
  EXPECT_EQ(summaryLine(totals), "2 errors, 0 warnings and 1 note in 2 files");
}

class CheckDriverTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    std::string path = ::testing::TempDir() +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + name;
    std::ofstream(path, std::ios::binary) << text;
    written_.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const std::string& path : written_) std::remove(path.c_str());
  }
  std::vector<std::string> written_;
};

TEST_F(CheckDriverTest, ExitsByTheWorstFinding) {
  std::string clean = write("clean.tarnel", "kiv a {\nvar {\n}\nbegin {\nprint \"a\"\n}\n}\n");
  std::string warned = write("warned.tarnel", "kiv a {\nvar {\nvar& x\n}\nbegin {\n}\n}\n");
  std::string wrong = write("wrong.tarnel", "kiv a {\n");
  std::ostringstream out;
  EXPECT_EQ(runCheck({clean}, out), 0);
  EXPECT_EQ(out.str(), "0 errors, 0 warnings and 0 notes in 1 file\n");
  EXPECT_EQ(runCheck({clean, warned}, out), 0);
  EXPECT_EQ(runCheck({warned, wrong}, out), 1);
  std::ostringstream missing;
  EXPECT_EQ(runCheck({wrong, clean + ".gone"}, missing), 2);
  EXPECT_NE(missing.str().find(
                "\ntarnel_check: cannot read " + clean +
                ".gone: No such file or directory\n1 error, 0 warnings and 0 notes in 1 file\n"),
            std::string::npos);
  std::ostringstream none;
  EXPECT_EQ(runCheck({}, none), 2);
  EXPECT_EQ(none.str(), "usage: tarnel_check FILE...\n");
}

}  // namespace
