#include "execution_engine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "interpreter.h"

namespace {

// Loads and runs a bytecode text; returns what the program wrote.
std::string run(const std::string& text, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  Interpreter interpreter(in, out);
  interpreter.loadText(text);
  interpreter.execute();
  return out.str();
}

std::string program(const std::string& variables, const std::string& code) {
  return "var{" + variables + "con0&:0}code{" + code + "stop@,0!0:0}";
}

TEST(ExecutionEngine, NameFollowedByABlankIsALiteral) {
  EXPECT_EQ(run(program("a$:\"x\",", "12!a :0,12!a:0,")), "a x");
}

TEST(ExecutionEngine, UnresolvedJumpWritesItsLineEachTime) {
  EXPECT_EQ(run(program("n&:0,", "top@,2!n:0,15!nowhere:0,14!n:2,16!0:0,")),
            "invalid code label nowhere\ninvalid code label nowhere\n");
}

TEST(ExecutionEngine, OpcodeTextDecidesAsAnInteger) {
  // 57 is passed over, " 12" prints, a letter halts like 0.
  EXPECT_EQ(run(program("", "57!x:0, 12!\"a\":0,halt!0:0,12!\"b\":0,")), "a");
}

TEST(ExecutionEngine, ProgramCounterOutsideTheTableEndsTheRun) {
  EXPECT_EQ(run("var{}code{12!\"a\":0,15!99:0,12!\"b\":0,0!0:0}"), "a");
  EXPECT_EQ(run("var{}code{12!\"a\":0,15!-3:0,12!\"b\":0,0!0:0}"), "a");
  // A label in the last slot: the run steps past the end.
  EXPECT_EQ(run("var{}code{12!\"a\":0,end@,}"), "a");
}

TEST(ExecutionEngine, FirstOfTwoVariablesWithOneNameIsUsed) {
  EXPECT_EQ(run(program("v&:1,v&:2,", "2!v:0,12!v:0,")), "2");
}

TEST(ExecutionEngine, JumpBeforeAnyCmpIsNotTaken) {
  EXPECT_EQ(run(program("", "17!stop:0,16!stop:0,12!\"ran\":0,")), "ran");
}

TEST(ExecutionEngine, PopOnAnEmptyStackGivesTheEmptyText) {
  std::istringstream in;
  std::ostringstream out;
  Interpreter probe(in, out);
  probe.loadText(program("v$:\"x\",", "23!v:0,12!v:0,12!\"|\":0,"));
  probe.execute();
  EXPECT_EQ(out.str(), "|");
  EXPECT_EQ(probe.stack.depth, 0u);
}

TEST(ExpandEscapes, ReplacesPairsAndDropsQuotes) {
  struct Case {
    const char* text;
    const char* wanted;
  } cases[] = {
      {"\"a\\tb\\nc\"", "a\tb\nc"}, {"\\\\n", "\\\n"}, {"a\\", "a\\"},
      {"\\x\\N", "\\x\\N"},         {"\"\"", ""},      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Interpreter::expandEscapes(c.text), c.wanted) << "text: " << c.text;
  }
}

}  // namespace
