#include "bytecode_text.h"

#include <gtest/gtest.h>

#include "front_end.h"
#include "mnemonics.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

StatementSlot instruction(const std::string& mnemonic, const std::string& operand1,
                          const std::string& operand2) {
  StatementSlot slot;
  slot.mnemonic = mnemonic;
  slot.operand1 = operand1;
  slot.operand2 = operand2;
  slot.inUse = true;
  return slot;
}

// Every mnemonic written with the operands a and b: the opcode and the
// second operand follow the table, whatever order the table lists them in.
TEST(BytecodeText, WritesEveryMnemonicsOpcode) {
  struct Case {
    const char* mnemonic;
    const char* entry;
  };
  const Case cases[] = {
      {"mov", "1!a:b"},    {"inc", "2!a:0"},   {"dec", "3!a:0"},  {"add", "4!a:b"},
      {"sub", "5!a:b"},    {"mul", "6!a:b"},   {"div", "7!a:b"},  {"and", "8!a:b"},
      {"or", "9!a:b"},     {"xor", "10!a:b"},  {"not", "11!a:0"}, {"print", "12!a:0"},
      {"input", "13!a:0"}, {"cmp", "14!a:b"},  {"jmp", "15!a:0"}, {"jne", "16!a:0"},
      {"je", "17!a:0"},    {"jge", "18!a:0"},  {"jg", "19!a:0"},  {"jl", "20!a:0"},
      {"jle", "21!a:0"},   {"push", "22!a:0"}, {"pop", "23!a:0"},
  };
  EXPECT_EQ(sizeof cases / sizeof cases[0], 23u);
  errorCount = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(instructionEntry(instruction(c.mnemonic, "a", "b")), c.entry) << c.mnemonic;
  }
  EXPECT_EQ(errorCount, 0);
}

TEST(BytecodeText, ReportsUnknownMnemonic) {
  errorCount = 0;
  CaptureStdout();
  EXPECT_EQ(instructionEntry(instruction("ret\r", "", "")), "");
  EXPECT_EQ(instructionEntry(instruction("MOV", "a", "b")), "");
  EXPECT_EQ(GetCapturedStdout(),
            "error(1) invalid instruction [ret\r]\nerror(2) invalid instruction [MOV]\n");
}

TEST(BytecodeText, LabelEntryKeepsAllButFirstColon) {
  StatementSlot slot;
  slot.inUse = slot.isLabel = true;
  slot.labelText = " loop: inc x:";
  EXPECT_EQ(labelEntry(slot), " loop@ inc x:");
}

TEST(BytecodeText, WritesTheWholeFile) {
  ProgramTables tables;
  tables.reserveVariables(5);
  tables.addVariable("count", "3", VariableInteger);
  tables.addVariable("msg", "", VariableString);
  tables.addVariable("text", "\"hi, there\"", VariableString);
  tables.addVariable("rate", "2.5", VariableFloat);
  tables.reserveStatements(8);
  tables.addLabel("top:");
  tables.addInstruction("print", "count", "");
  tables.addInstruction("ret", "x", "");
  tables.addInstruction("dec", "count", "");
  tables.addInstruction("cmp", "count", "0");
  tables.addInstruction("jg", "top", "");
  errorCount = 0;
  CaptureStdout();
  std::string text = bytecodeText(tables);
  EXPECT_EQ(GetCapturedStdout(), "error(1) invalid instruction [ret]\n");
  EXPECT_EQ(text,
            "var{count&:3,msg$:\"\",text$:\"hi, there\",rate#:2.5,con0&:0}"
            "code{top@,12!count:0,3!count:0,14!count:0,19!top:0,stop@,0!0:0}");
}

TEST(BytecodeText, EmptyTablesGiveTheClosingEntries) {
  EXPECT_EQ(bytecodeText(ProgramTables()), "var{con0&:0}code{stop@,0!0:0}");
}

}  // namespace
