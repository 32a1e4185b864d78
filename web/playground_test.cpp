// The page's services: the console lines and file texts the translators
// give for a text in memory, the checker's JSON and its fixes made.
#include "playground.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "check_source.h"
#include "json_report.h"

namespace {

const char kUnknownInstructions[] =
    "kiv demo {\nvar {\nvar& n := 1\n}\nbegin {\nret\nprint n\nhalt now\n}\n}\n";
const char kNoVarBlock[] = "kiv demo {\nbegin {\nprint \"x\"\n}\n}\n";

TEST(AssembleText, NumbersTheBackEndsErrorsAndClosesWithTheirCount) {
  TranslatorResult result = assembleText(kUnknownInstructions);
  EXPECT_TRUE(result.written);
  EXPECT_EQ(result.objectName, "demo");
  // The line end stays on a statement of one word, as tarnel reads it.
  EXPECT_EQ(result.console,
            "error(1) invalid instruction [ret\r]\nerror(2) invalid instruction [halt]\n");
  EXPECT_EQ(result.closingLine, " assembled with (2) error(s) \n");
  EXPECT_EQ(result.fileText, "var{n&:1,con0&:0}code{12!n:0,stop@,0!0:0}");
}

TEST(AssembleText, StopsAtFrontEndErrorsWithTheCountLine) {
  TranslatorResult result = assembleText(kNoVarBlock);
  EXPECT_FALSE(result.written);
  EXPECT_EQ(result.fileText, "");
  EXPECT_EQ(result.console, "error(1) var block not found\n assembled with (1) error(s) \n");
  EXPECT_EQ(result.closingLine, "");
}

TEST(AssembleText, EachCallCountsFromOne) {
  assembleText(kNoVarBlock);
  EXPECT_EQ(assembleText(kNoVarBlock).console,
            "error(1) var block not found\n assembled with (1) error(s) \n");
  EXPECT_EQ(assembleText("kiv a {\nvar {\n}\nbegin {\n}\n}\n").closingLine,
            "assembled with (0) errors\n");
}

TEST(TranslateText, WritesTheScriptWithoutAClosingLine) {
  TranslatorResult result = translateText(kUnknownInstructions);
  EXPECT_TRUE(result.written);
  EXPECT_EQ(result.console,
            "error(1) invalid instruction [ret\r]\nerror(2) invalid instruction [halt]\n");
  EXPECT_EQ(result.closingLine, "");
  EXPECT_NE(result.fileText.find("$n = 1;\r\nprintf(\"%i\",$n);\r\n"), std::string::npos);
  EXPECT_EQ(translateText(kNoVarBlock).console,
            "error(1) var block not found\n assembled with (1) error(s) \n");
}

TEST(CheckReport, IsTarnelChecksOutputForOneFile) {
  std::string report = checkReport("pit.tarnel", "kiv a {\nvar {\n}\nbegin {\ninc count;x\n}\n}\n");
  EXPECT_EQ(report.rfind("pit.tarnel:5:", 0), 0u) << report;
  EXPECT_NE(report.find("\ninc count;x\n"), std::string::npos) << report;
  EXPECT_EQ(report.substr(report.rfind('\n', report.size() - 2) + 1),
            "0 errors, 1 warning and 0 notes in 1 file\n");
}

// A blank after a comma: the checker offers to take it out.
const char kBlankAfterComma[] =
    "kiv demo {\r\nvar {\r\nvar& n\r\nvar& total\r\n}\r\nbegin {\r\n    input n\r\n"
    "    mov total, n\r\n    add total,n\r\n    print total\r\n}\r\n}\r\n";

TEST(CheckJson, IsTheCheckersDocumentForTheFileName) {
  FileReport report;
  report.path = "pit.tarnel";
  report.diagnostics = checkSource(kBlankAfterComma);
  ASSERT_FALSE(report.diagnostics.empty());
  ASSERT_FALSE(report.diagnostics.front().fixes.empty());
  EXPECT_EQ(checkJson("pit.tarnel", kBlankAfterComma), jsonReport({report}));
}

TEST(ApplyFix, MakesTheNamedFixAndKeepsEveryOtherByte) {
  FixResult made = applyFix(kBlankAfterComma, 0, 0);
  EXPECT_TRUE(made.applied);
  std::string wanted = kBlankAfterComma;
  wanted.erase(wanted.find(", n") + 1, 1);
  EXPECT_EQ(made.text, wanted);
  // The same as making every safe fix, here the only one.
  EXPECT_EQ(fixAll(kBlankAfterComma), wanted);
  EXPECT_EQ(fixAll(wanted), wanted);
}

TEST(ApplyFix, LeavesTheTextAsItIsForAFixTheTextDoesNotOffer) {
  for (auto [diagnostic, fix] : {std::pair{-1, 0}, {0, -1}, {0, 99}, {99, 0}}) {
    FixResult made = applyFix(kBlankAfterComma, diagnostic, fix);
    EXPECT_FALSE(made.applied) << diagnostic << " " << fix;
    EXPECT_EQ(made.text, kBlankAfterComma);
  }
  FixResult clean = applyFix("kiv a {\nvar {\n}\nbegin {\n}\n}\n", 0, 0);
  EXPECT_FALSE(clean.applied);
}

}  // namespace
