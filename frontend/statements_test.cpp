#include "statements.h"

#include <gtest/gtest.h>

namespace {

// One statement slot written as "label[text]" or "mnemonic|operand1|operand2",
// so that a table of cases reads at a glance.
std::string describe(const StatementSlot& slot) {
  if (!slot.inUse) return "unused";
  if (slot.isLabel) return "label[" + slot.labelText + "]";
  return slot.mnemonic + "|" + slot.operand1 + "|" + slot.operand2;
}

std::vector<std::string> parse(const std::string& block, bool collapseSpacing) {
  ProgramTables tables;
  parseStatements(block, collapseSpacing, tables);
  std::vector<std::string> slots;
  for (const StatementSlot& slot : tables.statements()) {
    if (slot.inUse) slots.push_back(describe(slot));
  }
  return slots;
}

struct LineCase {
  const char* line;
  const char* assembler;  // with collapseSpacing
  const char* perl;       // without
};

TEST(Statements, SplitsOneLine) {
  const LineCase cases[] = {
      {"loop:\r", "label[loop:]", "label[loop:]"},
      {"    loop:\r", "label[ loop:]", "label[    loop:]"},
      {"loop: inc x\r", "label[loop: inc x]", "label[loop: inc x]"},
      {"inc x\r", "inc|x|", "inc|x|"},
      {"    inc x\r", "inc|x|", "inc|x|"},
      {"inc x \r", "inc|x |", "inc|x |"},
      {"mov total, 5\r", "mov|total|5", "mov|total| 5"},
      {"mov  a ,  b\r", "mov|a|b", "mov| a |  b"},
      {"print \"a, b: c\"\r", "print|\"a, b: c\"|", "print|\"a, b: c\"|"},
      {"mov s, \"x  y\"\r", "mov|s|\"x  y\"", "mov|s| \"x  y\""},
      {"mov a\r", "mov|a|", "mov|a|"},
      {"mov a,\r", "mov|a|", "mov|a|"},
      {"inc a,b\r", "inc|a|b", "inc|a|b"},
      {"ret\r", "ret\r||", "ret\r||"},
      {"  ret\r", "ret\r||", "ret\r||"},
      {"jmp loop", "jmp|loo|", "jmp|loo|"},
      {"mov a,b", "mov|a|", "mov|a|"},
      {"add a, b, c\r", "add|a|b,c", "add|a| b, c"},
  };
  for (const LineCase& c : cases) {
    std::string block = std::string("\r\n") + c.line + "\n";
    EXPECT_EQ(parse(block, true), std::vector<std::string>{c.assembler}) << c.line;
    EXPECT_EQ(parse(block, false), std::vector<std::string>{c.perl}) << c.line;
  }
}

TEST(Statements, PassesOverShortAndBlankLines) {
  const std::string block = "\r\n\r\n  \r\n     \r\nab\r\n    ";
  EXPECT_EQ(parse(block, true), std::vector<std::string>{});
  // Without collapsing, a line of blanks before its CR becomes a statement
  // whose mnemonic is the CR alone.
  EXPECT_EQ(parse(block, false), std::vector<std::string>{"\r||"});
}

TEST(Statements, KeepsSourceOrderAndOneSlotPerLine) {
  ProgramTables tables;
  parseStatements("\r\ntop:\r\nprint n\r\n\r\njg top\r\n", true, tables);
  ASSERT_EQ(tables.statementCount(), 6);
  EXPECT_EQ(describe(tables.statements()[0]), "label[top:]");
  EXPECT_EQ(describe(tables.statements()[1]), "print|n|");
  EXPECT_EQ(describe(tables.statements()[2]), "jg|top|");
  EXPECT_EQ(describe(tables.statements()[3]), "unused");
}

TEST(Statements, BlockWithoutLineFeedHoldsNothing) {
  ProgramTables tables;
  parseStatements(" print x ", true, tables);
  EXPECT_EQ(tables.statementCount(), 0);
}

}  // namespace
