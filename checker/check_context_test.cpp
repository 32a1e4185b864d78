// The statements of the code block handed over a part at a time, with one
// parse standing for both where the lines read alike, against the parser's
// work on the whole block in each mode.
#include "check_context.h"

#include <gtest/gtest.h>

#include "source_file.h"

namespace {

std::string describe(const StatementSlot& slot) {
  auto place = [](SourcePosition p) {
    return std::to_string(p.line) + ":" + std::to_string(p.column);
  };
  return place(slot.position) +
         (slot.isLabel
              ? " label [" + slot.labelText + "]"
              : " [" + slot.mnemonic + "] [" + slot.operand1 + "] [" + slot.operand2 + "] " +
                    place(slot.operand1Field.begin) + "-" + place(slot.operand1Field.end) + " " +
                    place(slot.operand2Field.begin) + "-" + place(slot.operand2Field.end));
}

std::vector<std::string> wholeBlock(const std::string& source, bool collapse) {
  std::string text = source;
  prepareSourceText(text);
  SourceAnalysis analysis;
  ErrorCapture capture;
  analyseSource(text, collapse, analysis);
  std::vector<std::string> slots;
  for (const StatementSlot& slot : analysis.tables.statements()) {
    if (slot.inUse) slots.push_back(describe(slot));
  }
  return slots;
}

TEST(StatementChunks, HoldWhatTheParserMakesOfTheWholeBlock) {
  const std::vector<std::string> pieces = {
      "    ", " ",        "  ",      "\t",         "mov ",    "a",       ",",       ", ",     "\"",
      ":",    "loop",     "\r",      "\n",         "\r\n",    "\n",      "x y",     "print ", ";c",
      "ab",   "\n  ab\n", "\n   \n", "\n  top:\n", "inc n\n", "jmp a\n", "\"a b\"", "\n\n"};
  unsigned state = 99;
  int differing = 0;
  for (int text = 0; text < 1500; ++text) {
    std::string code;
    int length = static_cast<int>(state % 60);
    for (int i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      code += pieces[(state >> 16) % pieces.size()];
    }
    state = state * 1103515245u + 12345u;
    std::string source = "kiv a {\nvar {\n}\nbegin {\n" + code + "\n}\n}\n";
    std::vector<std::string> tarnel = wholeBlock(source, true);
    std::vector<std::string> perl = wholeBlock(source, false);
    if (tarnel != perl) ++differing;
    for (std::size_t chunkLines : {1u, 2u, 3u, 5u, 4096u}) {
      CheckContext context(source, chunkLines);
      std::vector<std::string> gotTarnel;
      std::vector<std::string> gotPerl;
      context.forEachStatementChunk([&](const ProgramTables& t, const ProgramTables& p) {
        for (const StatementSlot& slot : t.statements()) {
          if (slot.inUse) gotTarnel.push_back(describe(slot));
        }
        for (const StatementSlot& slot : p.statements()) {
          if (slot.inUse) gotPerl.push_back(describe(slot));
        }
      });
      ASSERT_EQ(gotTarnel, tarnel) << chunkLines << " lines a part:\n" << source;
      ASSERT_EQ(gotPerl, perl) << chunkLines << " lines a part:\n" << source;
    }
  }
  EXPECT_GT(differing, 300);  // the texts try both kinds of part
}

}  // namespace
