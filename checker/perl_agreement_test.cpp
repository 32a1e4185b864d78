// The checker's notes on what tarnel_perl reports agree with tarnel_perl's
// own script writer: for every mnemonic and every kind of first operand,
// the checker says tarnel_perl reports the line exactly when the writer
// does.
#include <gtest/gtest.h>

#include "check_source.h"
#include "front_end.h"
#include "mnemonics.h"
#include "perl_script.h"
#include "source_analysis.h"
#include "source_text.h"

namespace {

bool writerReports(const std::string& source) {
  std::string text = source;
  expandBareLineFeeds(text);
  SourceAnalysis analysis;
  ErrorCapture capture;
  analyseSource(text, false, analysis);
  EXPECT_EQ(analysis.stop, SourceStop::None) << source;
  int reports = 0;
  perlScriptText(analysis.tables, [&](const std::string&) { ++reports; });
  return reports > 0;
}

bool saysReported(const std::string& message) {
  return message.find("reports \"invalid variable") != std::string::npos ||
         message.find("reports it as invalid") != std::string::npos ||
         message.find("reports it as an invalid instruction") != std::string::npos;
}

bool checkerSaysReported(const std::string& source) {
  for (const Diagnostic& diagnostic : checkSource(source)) {
    if (saysReported(diagnostic.message)) return true;
    for (const DiagnosticNote& note : diagnostic.notes) {
      if (saysReported(note.message)) return true;
    }
  }
  return false;
}

struct MnemonicRow {
  const char* text;
  int operands;
};

#define TARNEL_ROW(text, code, operands, opcode) {text, operands},
const MnemonicRow kMnemonics[] = {TARNEL_MNEMONICS(TARNEL_ROW){"ret", 1}};
#undef TARNEL_ROW

TEST(PerlAgreement, CheckerAndScriptWriterReportTheSameLines) {
  const char* const firstOperands[] = {"n", "s", "f", "nothere", "5", "\"t\"", "n ", " n", ""};
  int reported = 0;
  for (const MnemonicRow& mnemonic : kMnemonics) {
    for (const char* operand : firstOperands) {
      std::string line = std::string("    ") + mnemonic.text + " " + operand;
      if (mnemonic.operands == 2) line += ",1";
      std::string source = "kiv agree {\nvar {\nvar& n\nvar$ s\nvar# f\n}\nbegin {\n" + line +
                           "\nprint n\nprint s\nprint \"x\"\n}\n}\n";
      bool reports = writerReports(source);
      EXPECT_EQ(checkerSaysReported(source), reports) << line;
      if (reports) ++reported;
    }
  }
  EXPECT_GT(reported, 40);  // the cases cover both answers
}

}  // namespace
