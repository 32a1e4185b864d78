// The checker's errors agree with what tarnel counts: on any text, the
// checker finds an error exactly when tarnel does, and once every block
// was found, one for each declaration tarnel rejects and each instruction
// its bytecode writer cannot write. (tarnel reaches the writer only when
// the declarations are sound; the checker reports the instructions at
// once.)
#include <gtest/gtest.h>

#include "bytecode_text.h"
#include "check_source.h"
#include "front_end.h"
#include "source_analysis.h"
#include "source_text.h"

namespace {

// The errors tarnel counts for source, the instructions it would reject
// once its declarations are sound included, and whether it stopped at a
// structural error.
int tarnelErrors(const std::string& source, bool& structural) {
  std::string text = source;
  expandBareLineFeeds(text);
  SourceAnalysis analysis;
  ErrorCapture capture;
  analyseSource(text, true, analysis);
  structural = analysis.stop != SourceStop::None;
  if (!structural) bytecodeText(analysis.tables);
  return static_cast<int>(capture.errors().size());
}

int checkerErrors(const std::string& source) {
  int errors = 0;
  for (const Diagnostic& diagnostic : checkSource(source)) {
    if (diagnostic.severity == Severity::Error) ++errors;
  }
  return errors;
}

TEST(TarnelAgreement, ErrorsAreTheOnesTarnelCounts) {
  // "kiv a/b {" stands for a header the front end may refuse by its name.
  const std::vector<std::string> pieces = {"kiv p {\n",  "kiv a/b {\n",
                                           "var {\n",    "begin {\n",
                                           "}\n",        "{",
                                           "}",          "\"",
                                           ";c",         ":",
                                           ",",          " ",
                                           "  ",         "\t",
                                           "\n",         "\r\n",
                                           "var& a\n",   "var& b := 2\n",
                                           " var& c\n",  "var x\n",
                                           "inc a\n",    "ret\n",
                                           "\tinc a\n",  "jmp top\n",
                                           "top:\n",     "print \"a;b\"\n",
                                           "mov a, b\n", "print\n"};
  unsigned state = 2024;
  int withErrors = 0;
  for (int text = 0; text < 4000; ++text) {
    std::string source = text % 3 == 0 ? "" : "kiv p {\nvar {\nvar& a\n}\nbegin {\n";
    int length = static_cast<int>(state % 25);
    for (int i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      source += pieces[(state >> 16) % pieces.size()];
    }
    if (text % 3 != 0) source += "}\n}\n";
    state = state * 1103515245u + 12345u;
    bool structural = false;
    int counted = tarnelErrors(source, structural);
    int found = checkerErrors(source);
    EXPECT_EQ(found > 0, counted > 0) << source;
    if (!structural) {
      EXPECT_EQ(found, counted) << source;
    }
    if (counted > 0) ++withErrors;
  }
  EXPECT_GT(withErrors, 1000);
  EXPECT_LT(withErrors, 3900);
}

}  // namespace
