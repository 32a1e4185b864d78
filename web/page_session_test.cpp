// The page's debugging session: runs in slices of any size give kivinterp's
// output, the views read as the page shows them, stepping back restores
// them with the output and the input, and breakpoints land on the lines a
// run stops at.
#include "page_session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "interpreter.h"
#include "playground.h"

namespace {

std::string exampleText(const char* name) {
  std::ifstream file(std::string(TARNEL_EXAMPLES_DIR "/") + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The program's output as kivinterp writes it for the same input.
std::string wholeRun(const std::string& source, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  Interpreter interpreter(in, out);
  interpreter.loadText(assembleText(source).fileText);
  interpreter.execute();
  return out.str();
}

// Runs to the end in slices of budget steps, with the whole input queued
// and ended first.
std::string slicedRun(PageSession& session, const std::string& input, double budget) {
  session.feedInput(input);
  session.endInput();
  session.runOn();
  std::string output;
  std::string reason;
  while ((reason = session.advance(budget)) == "budget") output += session.takeOutput();
  EXPECT_EQ(reason, "ended");
  return output + session.takeOutput();
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

const char kPushPop[] =
    "kiv demo {\n"
    "var {\n"
    "var& n\n"
    "var& total\n"
    "}\n"
    "begin {\n"
    "    input n\n"       // 7
    "    mov total, n\n"  // 8
    "    push total\n"    // 9
    "    print total\n"   // 10
    "    pop n\n"         // 11
    "\n"
    "    cmp n,5\n"  // 13
    "}\n"
    "}\n";

TEST(PageSession, SlicedRunsGiveKivinterpsOutputAndSteps) {
  const std::string source = exampleText("sum.tarnel");
  ASSERT_FALSE(source.empty());
  // Input past its end reads the empty text, which ends the loop here.
  // Recorded one step at a time, or free in large slices, as a Run goes.
  for (const char* input : {"4 5\n6\n0\n", "4\n", ""}) {
    PageSession oneByOne(source, true);
    PageSession large(source, false);
    const std::string wanted = wholeRun(source, input);
    EXPECT_EQ(slicedRun(oneByOne, input, 1), wanted) << input;
    EXPECT_EQ(slicedRun(large, input, 1e6), wanted) << input;
    EXPECT_EQ(oneByOne.steps(), large.steps());
    EXPECT_GT(large.steps(), 0);
    EXPECT_EQ(large.outputLength(), static_cast<double>(wanted.size()));
  }
}

TEST(PageSession, WaitsForInputAndGoesOnWithEachWordSent) {
  const std::string source = exampleText("sum.tarnel");
  PageSession session(source, true);
  session.runOn();
  std::string output;
  for (const char* line : {"4\n", "5 6\n", "0\n"}) {
    EXPECT_EQ(session.advance(1e6), "input");
    EXPECT_TRUE(has(session.stateJson(), "\"stop\":\"input\""));
    output += session.takeOutput();
    session.feedInput(line);
  }
  EXPECT_EQ(session.advance(1e6), "ended");
  EXPECT_EQ(output + session.takeOutput(), wholeRun(source, "4 5 6 0"));
}

TEST(PageSession, WritesTarnelsLinesAndRunsNothingAfterFrontEndErrors) {
  // An unknown instruction is reported, with the line's carriage return as
  // tarnel writes it, and the program runs without it.
  PageSession unknown("kiv a {\r\nvar {\r\n}\r\nbegin {\r\nret\r\nprint \"x\"\r\n}\r\n}\r\n", true);
  EXPECT_TRUE(unknown.assembled());
  EXPECT_EQ(unknown.console(), "error(1) invalid instruction [ret\r]\n");
  EXPECT_EQ(unknown.closingLine(), " assembled with (1) error(s) \n");
  EXPECT_EQ(slicedRun(unknown, "", 10), "x");

  PageSession clean("kiv a {\nvar {\n}\nbegin {\n}\n}\n", true);
  EXPECT_EQ(clean.console(), "");
  EXPECT_EQ(clean.closingLine(), "assembled with (0) errors\n");

  PageSession refused("kiv demo {\nbegin {\nprint \"x\"\n}\n}\n", true);
  EXPECT_FALSE(refused.assembled());
  EXPECT_EQ(refused.console(), "error(1) var block not found\n assembled with (1) error(s) \n");
  EXPECT_EQ(refused.closingLine(), "");
  refused.feedInput("1\n");
  refused.runOn();
  EXPECT_EQ(refused.advance(100), "none");
  EXPECT_EQ(refused.addBreakpointLine(3), 0);
  EXPECT_EQ(refused.stateJson(), "{}");
}

TEST(PageSession, ShowsTheStateAfterEachStep) {
  PageSession session(kPushPop, true);
  session.feedInput("21\n");
  EXPECT_EQ(session.stateJson(),
            "{\"stop\":\"none\",\"line\":7,\"steps\":0,\"ended\":false,\"undoable\":0,"
            "\"dropped\":0,\"effect\":\"\",\"variables\":[{\"name\":\"n\",\"type\":\"integer\","
            "\"value\":\"0\",\"changed\":false,\"cut\":false},{\"name\":\"total\",\"type\":"
            "\"integer\",\"value\":\"0\",\"changed\":false,\"cut\":false}],\"stack\":[],"
            "\"depth\":0,\"compared\":false,\"flags\":[0,0,0,0,0,0],\"pendingInput\":\"21\\n\","
            "\"inputEnded\":false,\"notes\":[]}");
  session.step(2);
  EXPECT_EQ(session.advance(1000), "steps");
  std::string state = session.stateJson();
  EXPECT_TRUE(has(state, "\"line\":9,\"steps\":2,")) << state;
  EXPECT_TRUE(has(state, "{\"name\":\"n\",\"type\":\"integer\",\"value\":\"21\",\"changed\":false"))
      << state;
  EXPECT_TRUE(
      has(state, "{\"name\":\"total\",\"type\":\"integer\",\"value\":\"21\",\"changed\":true"))
      << state;
  EXPECT_TRUE(has(state, "\"effect\":\"total = 21\"")) << state;
  EXPECT_TRUE(has(state, "\"pendingInput\":\"\\n\"")) << state;

  session.step(5);
  EXPECT_EQ(session.advance(1000), "ended");
  state = session.stateJson();
  EXPECT_TRUE(has(state, "\"stack\":[],\"depth\":0,\"compared\":true,\"flags\":[0,1,1,1,0,0]"))
      << state;
  EXPECT_TRUE(has(state, "\"line\":14,\"steps\":6,\"ended\":true,\"undoable\":7")) << state;
  EXPECT_EQ(session.takeOutput(), "21");
}

TEST(PageSession, StepsBackOverAPopAndAnInputRestoringOutputAndInput) {
  PageSession session(kPushPop, true);
  session.feedInput("21 7\n");
  session.step(5);
  EXPECT_EQ(session.advance(1000), "steps");
  EXPECT_EQ(session.takeOutput(), "21");
  EXPECT_TRUE(has(session.stateJson(), "\"stack\":[],\"depth\":0"));

  // Back over the pop: the value is on the stack again, n as input left it.
  session.stepBack(1);
  EXPECT_EQ(session.advance(1000), "steps");
  std::string state = session.stateJson();
  EXPECT_TRUE(has(state, "\"line\":11,\"steps\":4,")) << state;
  EXPECT_TRUE(has(state, "\"stack\":[\"21\"],\"depth\":1")) << state;
  // Back over the print: its output is taken back.
  session.stepBack(1);
  session.advance(1000);
  EXPECT_EQ(session.outputLength(), 0);
  // Back to the start: the word input read is queued again.
  session.stepBack(10);
  EXPECT_EQ(session.advance(1000), "start");
  state = session.stateJson();
  EXPECT_TRUE(has(state, "\"stop\":\"start\",\"line\":7,\"steps\":0,")) << state;
  EXPECT_TRUE(has(state, "\"pendingInput\":\"21 7\\n\"")) << state;
  EXPECT_TRUE(has(state, "{\"name\":\"n\",\"type\":\"integer\",\"value\":\"0\",\"changed\":true"))
      << state;
  // And forwards again, as the first time.
  session.step(3);
  session.advance(1000);
  EXPECT_EQ(session.takeOutput(), "");
  session.step(1);
  session.advance(1000);
  EXPECT_EQ(session.takeOutput(), "21");
}

TEST(PageSession, PutsBreakpointsWhereTheRunStops) {
  PageSession session(kPushPop, true);
  EXPECT_EQ(session.addBreakpointLine(8), 8);
  EXPECT_EQ(session.addBreakpointLine(12), 13);  // an empty line: the next instruction
  EXPECT_EQ(session.addBreakpointLine(3), 7);    // a declaration: the first instruction
  EXPECT_EQ(session.addBreakpointLine(14), 14);  // the closing brace: the halt
  EXPECT_EQ(session.addBreakpointLine(15), 0);
  EXPECT_EQ(session.addBreakpointLine(0), 0);
  EXPECT_EQ(session.addBreakpointLine(99), 0);
  session.clearBreakpoints();
  session.addBreakpointLine(12);
  session.feedInput("3\n");
  session.runOn();
  EXPECT_EQ(session.advance(1000), "breakpoint");
  EXPECT_TRUE(has(session.stateJson(), "\"stop\":\"breakpoint\",\"line\":13,\"steps\":5,"));
  session.runOn();
  EXPECT_EQ(session.advance(1000), "ended");
}

TEST(PageSession, PausesAnEndlessLoopBetweenSlices) {
  PageSession session("kiv a {\nvar {\nvar& n\n}\nbegin {\ntop:\ninc n\njmp top\n}\n}\n", false);
  session.runOn();
  EXPECT_EQ(session.advance(1000), "budget");
  EXPECT_EQ(session.advance(1000), "budget");
  session.pause();
  EXPECT_EQ(session.advance(1000), "paused");
  EXPECT_TRUE(has(session.stateJson(), "\"stop\":\"paused\","));
  EXPECT_EQ(session.steps(), 2000);
  // A free run keeps nothing to step back through.
  session.stepBack(1);
  EXPECT_EQ(session.advance(1000), "history");
  EXPECT_EQ(session.steps(), 2000);
}

TEST(PageSession, CutsLongValuesAndADeepStack) {
  // 999 letters, then an e with an acute accent in UTF-8 across the cut.
  const std::string long_text = std::string(999, 'a') + "\xc3\xa9";
  PageSession session("kiv a {\nvar {\nvar$ s := \"" + long_text +
                          "\"\nvar& n\n}\nbegin {\ntop:\npush n\ninc n\ncmp n,150\njl top\n}\n}\n",
                      true);
  session.runOn();
  EXPECT_EQ(session.advance(1e6), "ended");
  const std::string state = session.stateJson();
  EXPECT_TRUE(has(
      state, "\"value\":\"\\\"" + std::string(999, 'a') + "\\\"\",\"changed\":false,\"cut\":true"))
      << state.substr(0, 200);
  EXPECT_TRUE(has(state, "\"stack\":[\"149\",\"148\","));
  EXPECT_TRUE(has(state, "\"50\"],\"depth\":150"));
}

TEST(PageSession, KeepsALatin1ByteAsTheEscapeOfItsByte) {
  PageSession session("kiv a {\nvar {\nvar$ s := \"caf\xe9 \xc3\xa9\"\n}\nbegin {\nprint s\n}\n}\n",
                      true);
  session.step(1);
  EXPECT_EQ(session.advance(1000), "steps");
  const std::string state = session.stateJson();
  // The e with an acute accent in UTF-8 stays as it is.
  EXPECT_TRUE(has(state, "\"value\":\"\\\"caf\\udce9 \xc3\xa9\\\"\"")) << state;
}

}  // namespace
