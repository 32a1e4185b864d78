#include "execution_engine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

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

// top: input n, push n, dec n, cmp n,5, jg top, then print n and halt.
std::string countdownProgram() {
  return program("n&:0,", "top@,13!n:0,22!n:0,3!n:0,14!n:5,19!top:0,12!n:0,");
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

// The single step: one instruction at a time, label records passed over
// within the step that reaches them, the state readable in between.
TEST(ExecutionEngine, StepsOneInstructionAtATime) {
  std::istringstream in("7");
  std::ostringstream out;
  Interpreter program(in, out);
  program.loadText(countdownProgram());
  ExecutionEngine engine(program, in, out);
  EXPECT_EQ(engine.position(), 1);  // record 0 is the label top
  EXPECT_TRUE(engine.step());       // input n
  EXPECT_EQ(engine.variables()[0].value, "7");
  EXPECT_TRUE(engine.step());  // push n
  EXPECT_EQ(engine.stackTexts(), std::vector<std::string>{"7"});
  EXPECT_TRUE(engine.step());  // dec n
  EXPECT_EQ(engine.variables()[0].value, "6");
  EXPECT_TRUE(engine.step());  // cmp n,5
  EXPECT_TRUE(engine.flags().greater);
  EXPECT_FALSE(engine.flags().less);
  EXPECT_TRUE(engine.step());  // jg top: lands past the label
  EXPECT_EQ(engine.position(), 1);
  EXPECT_EQ(engine.stepsTaken(), 5u);
  EXPECT_EQ(out.str(), "");
}

TEST(ExecutionEngine, BoundedRunsStopAndGoOn) {
  std::istringstream in("9 8 7 6");
  std::ostringstream out;
  Interpreter program(in, out);
  program.loadText(countdownProgram());
  ExecutionEngine engine(program, in, out);
  EXPECT_TRUE(engine.run(3));
  EXPECT_EQ(engine.stepsTaken(), 3u);
  // The rest: each round reads the next word, until n is 5 after dec.
  EXPECT_FALSE(engine.run(1000));
  EXPECT_TRUE(engine.finished());
  EXPECT_EQ(out.str(), "5");
  const int halt = program.code.count() - 1;
  EXPECT_EQ(engine.position(), halt);
  EXPECT_FALSE(engine.step());
  EXPECT_FALSE(engine.run(10));
  engine.writeBack();
  EXPECT_EQ(program.variables[0].value, "5");
  EXPECT_EQ(program.stack.depth, 4u);
}

TEST(ExecutionEngine, LeavingTheTableEndsTheRunAtItsEnd) {
  std::istringstream in;
  std::ostringstream out;
  Interpreter program(in, out);
  program.loadText("var{}code{12!\"a\":0,15!-3:0,end@,}");
  ExecutionEngine engine(program, in, out);
  EXPECT_TRUE(engine.step());
  EXPECT_FALSE(engine.step());
  EXPECT_EQ(engine.position(), program.code.count());
  EXPECT_EQ(engine.stepsTaken(), 2u);
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
