// Assembling a source program in memory for the debugger: the bytecode is
// tarnel's, errors are tarnel's, and every record knows the source line it
// came from, also where one line makes several records or none.
#include "debug_program.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "bytecode_text.h"
#include "front_end.h"
#include "interpreter.h"
#include "program_map.h"

namespace {

struct Assembled {
  bool ok = false;
  std::string records;   // "#N LINE instruction" a line, for every loaded record
  std::string messages;  // the error lines, one a line
  DebugProgram program;
};

Assembled assemble(const std::string& source) {
  Assembled result;
  std::vector<std::string> messages;
  result.ok = assembleProgram("p.tarnel", source, result.program, messages);
  for (const std::string& line : messages) result.messages += line + "\n";
  Interpreter interpreter;
  interpreter.loadText(result.program.bytecode);
  EXPECT_EQ(static_cast<int>(result.program.recordLines.size()), interpreter.code.count());
  const ProgramMap map(interpreter.code, result.program);
  for (int i = 0; i < map.count(); ++i) {
    result.records += "#" + std::to_string(i) + " " + std::to_string(map.record(i).line) + " " +
                      map.record(i).instruction + "\n";
  }
  return result;
}

const char kCountdown[] =
    "kiv demo {\n"
    "var {\n"
    "var& count := 3\n"
    "}\n"
    "begin {\n"
    "top:\n"
    "    print count ; the value\n"
    "\n"
    "    dec count\n"
    "    cmp count,0\n"
    "    jg top\n"
    "}\n"
    "}\n";

TEST(DebugProgram, GivesEveryRecordItsSourceLine) {
  Assembled a = assemble(kCountdown);
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.records,
            "#0 6 top:\n"
            "#1 7 print count\n"
            "#2 9 dec count\n"
            "#3 10 cmp count,0\n"
            "#4 11 jg top\n"
            "#5 12 stop:\n"
            "#6 12 halt\n");
  EXPECT_EQ(a.messages, "");
  // The lines shown are the file's own, comments and case kept.
  ASSERT_EQ(a.program.sourceLines.size(), 13u);
  EXPECT_EQ(a.program.sourceLines[6], "    print count ; the value");
  EXPECT_TRUE(a.program.fromSource);
}

TEST(DebugProgram, TheBytecodeIsTarnels) {
  Assembled a = assemble(kCountdown);
  EXPECT_EQ(a.program.bytecode,
            "var{count&:3,con0&:0}code{top@,12!count:0,3!count:0,14!count:0,19!top:0,"
            "stop@,0!0:0}");
}

TEST(DebugProgram, LineEndsAndALeadingEmptyLineKeepTheLines) {
  std::string crlf;
  for (char c : std::string(kCountdown))
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(assemble(crlf).records, assemble(kCountdown).records);
  // As the editor saves a file: every line moves down by one.
  Assembled shifted = assemble("\r\n" + crlf);
  EXPECT_EQ(shifted.records.substr(0, 16), "#0 7 top:\n#1 8 p");
  EXPECT_EQ(shifted.program.sourceLines[7], "    print count ; the value");
}

TEST(DebugProgram, MapsRecordsOfOddLinesToTheLineTheyCameFrom) {
  Assembled a = assemble(
      "kiv odd {\n"
      "var {\n"
      "var& a\n"
      "var& b\n"
      "}\n"
      "begin {\n"
      "l: mov a,12!b:0\n"  // 7: a label keeps the rest of its line, comma and all
      "add a,b,c\n"        // 8: the second operand holds a comma
      "mov a,x@y\n"        // 9: an "@" makes the entry a label
      "ret\n"              // 10: unknown, left out
      "print \"one,\n"     // 11: a quoted line feed joins two lines
      "two\"\n"            // 12
      "inc a\n"            // 13
      "}\n"
      "}\n");
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.records,
            "#0 7 l:\n"
            "#1 7 print b\n"
            "#2 8 add a,b\n"
            "#3 9 1!a:x:\n"
            "#4 11 print \"one,\\x0d\\x0atwo\"\n"
            "#5 13 inc a\n"
            "#6 14 stop:\n"
            "#7 14 halt\n");
  // tarnel's line, numbered, without the CR that the line end left in it.
  EXPECT_EQ(a.messages, "error(1) invalid instruction [ret]\n");
}

TEST(DebugProgram, AQuoteLeftOpenSwallowsTheRestAsTheLoaderSees) {
  // The block's "}" takes the statement's last character, the closing quote.
  Assembled a = assemble(
      "kiv q {\n"
      "var {\n"
      "}\n"
      "begin {\n"
      "print \"a\"\n"
      "print \"x\"}\n"
      "}\n");
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.records, "");
}

TEST(DebugProgram, FrontEndErrorsStopBeforeAnyBytecode) {
  Assembled a = assemble("kiv plain {\nbegin {\nprint \"hi\"\n}\n}\n");
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(a.messages, "error(1) var block not found\n assembled with (1) error(s) \n");
  EXPECT_EQ(a.program.bytecode, "");
  EXPECT_EQ(a.records, "");
}

TEST(DebugProgram, DeclarationErrorsAreCountedTogether) {
  Assembled a = assemble("kiv d {\nvar {\n var& x\nvar% y\n}\nbegin {\n}\n}\n");
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(a.messages,
            "error(1) invalid variable decleration\nerror(2) invalid variable decleration\n"
            " assembled with (2) error(s) \n");
}

TEST(DebugProgram, RecordLinesComeFromTheEntryEachPieceBeginsIn) {
  const std::string text = "var{con0&:0}code{a@ x,y,4!a:b,stop@,0!0:0}";
  // "a@ x,y" was written for line 3, "4!a:b" for line 5.
  const std::vector<EntryLine> entries = {{17, 3}, {24, 5}};
  EXPECT_EQ(recordLinesOf(text, entries, 30), (std::vector<int>{3, 5, 0, 0}));
  // Pieces before the first entry have no line; the closing ones get the
  // line of the block's closing brace.
  EXPECT_EQ(recordLinesOf(text, {{24, 5}}, 30, 9), (std::vector<int>{0, 5, 9, 9}));
}

TEST(DebugProgram, TellsBytecodeFilesByTheirEnding) {
  EXPECT_TRUE(isBytecodePath("demo.kiv"));
  EXPECT_TRUE(isBytecodePath("dir/x.y.kiv"));
  EXPECT_FALSE(isBytecodePath("demo.tarnel"));
  EXPECT_FALSE(isBytecodePath("kiv"));
  EXPECT_TRUE(isBytecodePath("DEMO.KIV"));
  EXPECT_TRUE(isBytecodePath("demo.Kiv"));
  EXPECT_FALSE(isBytecodePath("/dev/fd/63"));
}

}  // namespace
