// Source places recorded by the front end: offsets to lines and columns,
// the blanks collapsed away, the slots of both parsers, a whole analysis,
// and the silent capture of error lines.
#include <gtest/gtest.h>

#include "declarations.h"
#include "front_end.h"
#include "line_text.h"
#include "source_analysis.h"
#include "source_position.h"
#include "source_text.h"
#include "statements.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

std::string at(SourcePosition position) {
  return std::to_string(position.line) + ":" + std::to_string(position.column);
}

std::string at(SourceSpan span) { return at(span.begin) + "-" + at(span.end); }

TEST(SourcePlaces, CountLinesAndColumnsFromTheStart) {
  const std::string text = "ab\r\ncd\n\nx";
  EXPECT_EQ(at(positionIn(text, 0)), "1:1");
  EXPECT_EQ(at(positionIn(text, 2)), "1:3");  // the CR
  EXPECT_EQ(at(positionIn(text, 3)), "1:4");  // the line feed ends its line
  EXPECT_EQ(at(positionIn(text, 4)), "2:1");
  EXPECT_EQ(at(positionIn(text, 7)), "3:1");
  EXPECT_EQ(at(positionIn(text, 8)), "4:1");
  EXPECT_EQ(at(positionIn(text, 9)), "4:2");  // just past the last byte
  // A block starts in the middle of a line: only its first line is shifted.
  EXPECT_EQ(at(positionIn(text, 1, SourcePosition{5, 8})), "5:9");
  EXPECT_EQ(at(positionIn(text, 5, SourcePosition{5, 8})), "6:2");
  EXPECT_EQ(at(positionIn("", 0)), "1:1");
}

TEST(SourcePlaces, FollowPiecesWithLineFeedsOfTheirOwn) {
  // The pieces of "ab\n" "c\"x\ny\"d\n" "e" cut at the line feeds outside
  // quotes, in a block that starts at line 3, column 7.
  PiecePlaces places(SourcePosition{3, 7});
  places.enter("ab");
  EXPECT_EQ(at(places.at(0)), "3:7");
  EXPECT_EQ(at(places.at(2)), "3:9");
  places.enter("c\"x\ny\"d");
  EXPECT_EQ(at(places.at(0)), "4:1");
  EXPECT_EQ(at(places.at(3)), "4:4");  // its own line feed ends line 4
  EXPECT_EQ(at(places.at(4)), "5:1");
  EXPECT_EQ(at(places.at(7)), "5:4");
  places.enter("e");
  EXPECT_EQ(at(places.at(0)), "6:1");
}

TEST(SourcePlaces, CollapsedBlanksKeepTheirOrigins) {
  std::string text = "    mov  a, \"x  y\"  \r";
  std::vector<std::size_t> origins;
  collapseSpaces(text, origins);
  ASSERT_EQ(text, " mov a, \"x  y\" \r");
  ASSERT_EQ(origins.size(), text.size() + 1);
  EXPECT_EQ(origins[0], 3u);    // the last blank of the indentation stays
  EXPECT_EQ(origins[1], 4u);    // "m"
  EXPECT_EQ(origins[4], 8u);    // the blank before "a"
  EXPECT_EQ(origins[11], 15u);  // the quoted blanks are kept, both
  EXPECT_EQ(origins.back(), 21u);
}

struct SlotPlaces {
  std::string position;
  std::string operand1;
  std::string operand2;
};

std::vector<SlotPlaces> statementPlaces(const std::string& block, bool collapseSpacing) {
  ProgramTables tables;
  parseStatements(block, collapseSpacing, tables, SourcePosition{10, 8});
  std::vector<SlotPlaces> places;
  for (const StatementSlot& slot : tables.statements()) {
    if (!slot.inUse) continue;
    places.push_back({at(slot.position), at(slot.operand1Field), at(slot.operand2Field)});
  }
  return places;
}

TEST(StatementPlaces, AreTheWrittenPlacesInBothParsers) {
  // The block starts after "begin {" at line 10, column 8.
  const std::string block =
      "\r\n"
      "    mov  total ,  5\r\n"  // line 11
      "loop:\r\n"                // line 12
      "\t inc x\r\n"             // line 13
      "  ret\r\n"                // line 14
      "print \"a  b, c\"\r\n"    // line 15
      "jmp loop";                // line 16, ended by the block's brace
  for (bool collapseSpacing : {true, false}) {
    std::vector<SlotPlaces> places = statementPlaces(block, collapseSpacing);
    ASSERT_EQ(places.size(), 6u) << collapseSpacing;
    EXPECT_EQ(places[0].position, "11:5");
    EXPECT_EQ(places[1].position, "12:1");
    EXPECT_EQ(places[2].position, "13:1");  // the tab is the first byte that is not a blank
    EXPECT_EQ(places[3].position, "14:3");
    EXPECT_EQ(places[4].position, "15:1");
    EXPECT_EQ(places[5].position, "16:1");
    EXPECT_EQ(places[1].operand1, "0:0-0:0");  // a label has no operands
    EXPECT_EQ(places[3].operand1, "0:0-0:0");  // nor has a line of one word
    EXPECT_EQ(places[4].operand1, "15:7-15:16");
    EXPECT_EQ(places[4].operand2, "0:0-0:0");
    // The cut stops before the last byte: the "p" that the brace took.
    EXPECT_EQ(places[5].operand1, "16:5-16:8");
  }
  // Collapsing drops the second blank after "mov" and keeps the last one
  // before "5"; the fields start after the blank that stayed.
  EXPECT_EQ(statementPlaces(block, true)[0].operand1, "11:10-11:16");
  EXPECT_EQ(statementPlaces(block, true)[0].operand2, "11:18-11:20");
  EXPECT_EQ(statementPlaces(block, false)[0].operand1, "11:9-11:16");
  EXPECT_EQ(statementPlaces(block, false)[0].operand2, "11:17-11:20");
}

TEST(DeclarationPlaces, NameTheLineOfEverySlotAndRejection) {
  ProgramTables tables;
  ErrorCapture capture;
  parseDeclarations("\r\nvar& a\r\n var& b\r\n\r\nvar$ c := \"x\"\r\n", tables,
                    SourcePosition{2, 6});
  ASSERT_EQ(capture.errors().size(), 1u);
  EXPECT_EQ(capture.errors()[0].text, "invalid variable decleration");
  EXPECT_EQ(at(capture.errors()[0].position), "4:1");
  EXPECT_EQ(at(tables.variables()[0].position), "3:1");
  EXPECT_EQ(at(tables.variables()[1].position), "6:1");
}

TEST(SourceAnalysisPlaces, SurviveNormalisation) {
  // Upper case, comments, bare line feeds and a block brace mid-line.
  std::string source =
      "; A COMMENT LINE\n"
      "KIV Demo {\n"
      "VAR { ; the variables\n"
      "var& N := 2 ;x\n"
      "VAR$ s\n"
      "}\n"
      "begin {    PRINT   n ;first\n"
      "  Top:\n"
      "\tdec n\n"
      "}\n"
      "}\n";
  expandBareLineFeeds(source);
  SourceAnalysis analysis;
  ErrorCapture capture;
  analyseSource(source, true, analysis);
  ASSERT_EQ(analysis.stop, SourceStop::None);
  ASSERT_EQ(capture.errors().size(), 1u);  // "var& n := 2 " ends in a blank
  EXPECT_EQ(at(capture.errors()[0].position), "4:1");
  EXPECT_EQ(analysis.objectName, "demo");
  const std::vector<VariableSlot>& variables = analysis.tables.variables();
  ASSERT_TRUE(variables[0].inUse);
  EXPECT_EQ(variables[0].name, "s");
  EXPECT_EQ(at(variables[0].position), "5:1");
  std::vector<const StatementSlot*> used;
  for (const StatementSlot& slot : analysis.tables.statements()) {
    if (slot.inUse) used.push_back(&slot);
  }
  ASSERT_EQ(used.size(), 3u);
  EXPECT_EQ(used[0]->mnemonic, "print");
  EXPECT_EQ(at(used[0]->position), "7:12");
  EXPECT_EQ(at(used[0]->operand1Field), "7:20-7:21");  // up to the blank the cut dropped
  EXPECT_EQ(at(used[1]->position), "8:3");
  EXPECT_EQ(at(used[2]->position), "9:1");
}

TEST(ErrorCapture, KeepsTheTextsSilentlyAndLeavesTheCountAlone) {
  errorCount = 0;
  CaptureStdout();
  {
    ErrorCapture outer;
    reportError("first %d", 1);
    {
      ErrorCapture inner;
      reportErrorAt(SourcePosition{3, 4}, "second");
      ASSERT_EQ(inner.errors().size(), 1u);
      EXPECT_EQ(at(inner.errors()[0].position), "3:4");
    }
    reportError("third");
    ASSERT_EQ(outer.errors().size(), 2u);
    EXPECT_EQ(outer.errors()[0].text, "first 1");
    EXPECT_EQ(outer.errors()[0].position.line, 0);
    EXPECT_EQ(outer.errors()[1].text, "third");
  }
  EXPECT_EQ(errorCount, 0);
  reportErrorAt(SourcePosition{1, 1}, "written");
  EXPECT_EQ(GetCapturedStdout(), "error(1) written\n");
  EXPECT_EQ(errorCount, 1);
  errorCount = 0;
}

}  // namespace
