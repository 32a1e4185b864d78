#include "declarations.h"

#include <gtest/gtest.h>

#include "front_end.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

struct Parsed {
  ProgramTables tables;
  std::string output;
};

Parsed parse(const std::string& block) {
  errorCount = 0;
  Parsed parsed;
  CaptureStdout();
  parseDeclarations(block, parsed.tables);
  parsed.output = GetCapturedStdout();
  return parsed;
}

const char kInvalid[] = "error(1) invalid variable decleration\n";

TEST(Declarations, AcceptsTheThreeForms) {
  struct Case {
    const char* line;
    const char* name;
    const char* value;
    VariableType type;
  };
  const Case cases[] = {
      {"var& count := 10\r", "count", "10", VariableInteger},
      {"var$ name\r", "name", "", VariableString},
      {"var# rate\r", "rate", "0", VariableFloat},
      {"var& n\r", "n", "0", VariableInteger},
      {"var& x:=5\r", "x:=5", "0", VariableInteger},
      {"var$ s := \"a b\"\r", "s", "\"a b\"", VariableString},
      {"var# r := abc\r", "r", "abc", VariableFloat},
  };
  for (const Case& c : cases) {
    Parsed parsed = parse(std::string("\r\n") + c.line + "\n");
    EXPECT_EQ(parsed.output, "") << c.line;
    ASSERT_EQ(parsed.tables.variableCount(), 3) << c.line;
    const VariableSlot& slot = parsed.tables.variables()[0];
    EXPECT_TRUE(slot.inUse) << c.line;
    EXPECT_EQ(slot.name, c.name) << c.line;
    EXPECT_EQ(slot.value, c.value) << c.line;
    EXPECT_EQ(slot.type, c.type) << c.line;
    EXPECT_FALSE(parsed.tables.variables()[1].inUse) << c.line;
  }
}

TEST(Declarations, RejectsMalformedLines) {
  const char* const lines[] = {
      " var& x\r",        // indented by a blank
      "\tvar& x\r",       // indented by a tab
      "var& x \r",        // a blank before the CR makes three words
      "var x\r",          // not a keyword
      "var&x\r",          // one word
      "var& x = 5\r",     // not ":="
      "var& x := 5 6\r",  // five words
      "    }",            // the closing brace indented by four
  };
  for (const char* line : lines) {
    Parsed parsed = parse(std::string("\r\n") + line + "\n");
    EXPECT_EQ(parsed.output, kInvalid) << line;
    EXPECT_FALSE(parsed.tables.variables()[1].inUse) << line;
  }
}

TEST(Declarations, BlockOnOneLineHoldsNothing) {
  Parsed parsed = parse(" var& x ");
  EXPECT_EQ(parsed.output, "");
  EXPECT_EQ(parsed.tables.variableCount(), 0);
}

}  // namespace
