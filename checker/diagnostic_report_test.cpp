// The console form of diagnostics: caret lines, the order of a diagnostic
// and its notes, the summary's words, and the program's exit statuses.
#include "diagnostic_report.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
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
  FixIt fix;
  fix.description = "split it";
  fix.safe = true;
  fix.edits = {FixEdit{2, 2, 1, "\n"}, FixEdit{1, 4, 0, "!"}};
  warning.fixes.push_back(fix);
  fix.description = "rename it";
  fix.safe = false;
  fix.edits = {FixEdit{2, 1, 3, "six"}};
  warning.fixes.push_back(fix);
  Diagnostic error;
  error.line = 9;  // past the last line: shown with an empty line
  error.column = 1;
  error.message = "e";
  EXPECT_EQ(formatDiagnostics("f.tarnel", "one\r\ntwo\r\n", {warning, error}),
            "f.tarnel:2:2: warning: w\ntwo\n ^~\n"
            "fix: split it\n     1 | one!\n     2 | t\n       | o\n"
            "suggestion: rename it\n     2 | six\n"
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
  const char usage[] =
      "usage: tarnel_check [--fix | --diff] [--format=text | --format=json] FILE...\n";
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"--fix"},
                                             {"--fix", "--diff", clean},
                                             {"--diff", "--format=json", clean},
                                             {"--format=xml", clean},
                                             {"-x", clean}}) {
    std::ostringstream none;
    EXPECT_EQ(runCheck(args, none), 2) << args.size();
    EXPECT_EQ(none.str(), usage);
  }
}

std::string readBack(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char kTabbed[] = "kiv a {\r\nvar {\r\nvar& n\r\n}\r\nbegin {\r\n\tinc n\nprint n\r\n}\r\n}";
const char kFixed[] = "kiv a {\r\nvar {\r\nvar& n\r\n}\r\nbegin {\r\n    inc n\nprint n\r\n}\r\n}";

TEST_F(CheckDriverTest, FixesInPlaceKeepingLineEndsAndReportsWhatIsLeft) {
  std::string path = write("tabbed.tarnel", kTabbed);
  std::ostringstream out;
  EXPECT_EQ(runCheck({"--fix", path}, out), 0);
  EXPECT_EQ(readBack(path), kFixed);
  EXPECT_EQ(out.str(), path +
                           ":6:1: fixed: indent with four blanks\n"
                           "0 errors, 0 warnings and 0 notes in 1 file; 1 fix made\n");
  std::ostringstream again;
  EXPECT_EQ(runCheck({"--fix", path}, again), 0);
  EXPECT_EQ(again.str(), "0 errors, 0 warnings and 0 notes in 1 file; 0 fixes made\n");
}

TEST_F(CheckDriverTest, DiffsWithoutWriting) {
  std::string path = write("tabbed.tarnel", kTabbed);
  std::ostringstream out;
  EXPECT_EQ(runCheck({"--diff", path}, out), 0);
  EXPECT_EQ(readBack(path), kTabbed);
  EXPECT_EQ(out.str(), "--- " + path + "\n+++ " + path +
                           "\n@@ -3,7 +3,7 @@\n var& n\r\n }\r\n begin {\r\n-\tinc n\n"
                           "+    inc n\n print n\r\n }\r\n }\n\\ No newline at end of file\n");
}

TEST_F(CheckDriverTest, FixesALinksTargetAndLeavesAReadOnlyFileAlone) {
  std::string target = write("target.tarnel", kTabbed);
  std::string link = target + ".link";
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  written_.push_back(link);
  std::ostringstream out;
  EXPECT_EQ(runCheck({"--fix", link}, out), 0);
  EXPECT_EQ(readBack(target), kFixed);
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));

  if (geteuid() == 0) return;  // root may write any file
  std::string locked = write("locked.tarnel", kTabbed);
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  std::ostringstream refused;
  EXPECT_EQ(runCheck({"--fix", locked}, refused), 2);
  EXPECT_EQ(readBack(locked), kTabbed);
  EXPECT_EQ(refused.str().substr(0, refused.str().find('\n')),
            "tarnel_check: cannot write " + locked + ": Permission denied");
}

TEST_F(CheckDriverTest, WritesOneJsonDocumentForAllFiles) {
  std::string path = write("tabbed.tarnel", kTabbed);
  std::ostringstream out;
  EXPECT_EQ(runCheck({"--format=json", path, path + ".gone"}, out), 2);
  const std::string json = out.str();
  EXPECT_EQ(json.find("{\"version\": 1,"), 0u);
  EXPECT_NE(json.find("\"severity\": \"error\""), std::string::npos);
  EXPECT_NE(json.find("\"description\": \"indent with four blanks\", \"safe\": true"),
            std::string::npos);
  EXPECT_NE(json.find("\"error\": \"cannot read: No such file or directory\""), std::string::npos);
  EXPECT_NE(json.find("\"summary\": {\"errors\": 1, \"warnings\": 0, \"notes\": 0, \"files\": 1}"),
            std::string::npos);
}

}  // namespace
