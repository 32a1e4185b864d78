// The page's services: the console lines and file texts the translators
// give for a text in memory, and the JSON of the diagnostics.
#include "playground.h"

#include <gtest/gtest.h>

#include <string>

#include "check_source.h"
#include "diagnostics_json.h"

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

TEST(DiagnosticsJson, EscapesQuotesBackslashesAndControlBytes) {
  Diagnostic diagnostic;
  diagnostic.line = 3;
  diagnostic.column = 9;
  diagnostic.length = 2;
  diagnostic.severity = Severity::Warning;
  diagnostic.message = "reads \"a\\b\"\r\t\xc3\xa9";
  diagnostic.notes.push_back(DiagnosticNote{1, 2, 3, "first here"});
  EXPECT_EQ(diagnosticsToJson({diagnostic, Diagnostic()}),
            "[{\"line\":3,\"column\":9,\"length\":2,\"severity\":\"warning\","
            "\"message\":\"reads \\\"a\\\\b\\\"\\u000d\\u0009\xc3\xa9\",\"notes\":[{\"line\":1,"
            "\"column\":2,\"length\":3,\"message\":\"first here\"}]},{\"line\":0,\"column\":0,"
            "\"length\":1,\"severity\":\"error\",\"message\":\"\",\"notes\":[]}]");
  EXPECT_EQ(diagnosticsToJson({}), "[]");
}

TEST(DiagnosticsJson, HoldsTheCheckersDiagnosticsInOrder) {
  const std::string source = "kiv a {\nvar {\nvar& n\nvar& n\n}\nbegin {\ninc n\n}\n}\n";
  std::vector<Diagnostic> diagnostics = checkSource(source);
  ASSERT_FALSE(diagnostics.empty());
  EXPECT_EQ(diagnosticsJson(source), diagnosticsToJson(diagnostics));
}

}  // namespace
