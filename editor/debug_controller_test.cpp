// The run that the editor's window drives: goals carried out slice by slice
// from the event loop, input that a waiting run takes up, output kept and
// cut back, and Pause taking hold in an endless loop while the loop keeps
// answering.
#include "debug_controller.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

using Phase = DebugController::Phase;

// Lines 1 to 12; the code block's closing brace, line 11, is the halt's.
const char kStackAndInput[] =
    "kiv demo {\n"   // 1
    "var {\n"        // 2
    "var& n\n"       // 3
    "var& m\n"       // 4
    "}\n"            // 5
    "begin {\n"      // 6
    "    push 3\n"   // 7
    "    input n\n"  // 8
    "    pop m\n"    // 9
    "    print m\n"  // 10
    "}\n"            // 11
    "}\n";           // 12

const char kEndlessPrint[] =
    "kiv loop {\n"
    "var {\n"
    "var& i\n"
    "}\n"
    "begin {\n"
    "top:\n"
    "    inc i\n"
    "    print i\n"
    "    jmp top\n"
    "}\n"
    "}\n";

class Controller : public ::testing::Test {
 protected:
  void start(const char* source) {
    std::vector<std::string> messages;
    ASSERT_TRUE(controller.start("demo.tarnel", source, &messages));
    EXPECT_TRUE(messages.empty());
  }
  // Waits for the goal to stop; false when it has not within the time.
  bool settle(int milliseconds = 5000) {
    return QTest::qWaitFor([this] { return controller.phase() != Phase::Running; }, milliseconds);
  }
  int value(const char* name) const {
    const DebugSession& session = controller.session();
    return std::stoi(session.variable(session.findVariable(name)).stored);
  }

  DebugController controller;
};

TEST(DebugControllerStart, AssemblerErrorsStartNoRun) {
  DebugController controller;
  std::vector<std::string> messages;
  EXPECT_FALSE(controller.start("bad.tarnel", "kiv bad {\n}\n", &messages));
  EXPECT_FALSE(controller.hasRun());
  EXPECT_EQ(controller.phase(), Phase::Idle);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front().rfind("error(1) ", 0), 0u) << messages.front();

  // An unknown instruction is left out and said, and the rest runs.
  EXPECT_TRUE(controller.start(
      "odd.tarnel", "kiv odd {\nvar {\nvar& a\n}\nbegin {\n    ret\n    inc a\n}\n}\n", &messages));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "error(1) invalid instruction [ret]");
  EXPECT_EQ(controller.phase(), Phase::Stopped);
}

TEST_F(Controller, StepsWaitsForInputAndGoesOnOnceItComes) {
  start(kStackAndInput);
  EXPECT_EQ(controller.phase(), Phase::Stopped);
  EXPECT_EQ(controller.session().line(), 7);

  QSignalSpy stops(&controller, &DebugController::stopped);
  controller.step();
  ASSERT_TRUE(settle());
  ASSERT_EQ(stops.size(), 1);
  EXPECT_EQ(stops[0][0].value<StopReason>(), StopReason::StepsDone);
  EXPECT_EQ(controller.session().line(), 8);

  controller.continueRun();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.phase(), Phase::WaitingForInput);
  EXPECT_EQ(controller.session().line(), 8);

  // A word without the blank that ends it may go on: the run still waits.
  controller.feedInput("4");
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.phase(), Phase::WaitingForInput);
  controller.feedInput("2\n");
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.phase(), Phase::Ended);
  EXPECT_EQ(value("n"), 42);
  EXPECT_EQ(value("m"), 3);
  EXPECT_EQ(controller.output(), "3");
}

TEST_F(Controller, StepBackOverPopAndInputRestoresStackOutputAndQueue) {
  start(kStackAndInput);
  controller.feedInput("7 8\n");
  controller.continueRun();
  ASSERT_TRUE(settle());
  ASSERT_EQ(controller.phase(), Phase::Ended);
  EXPECT_EQ(controller.output(), "3");
  EXPECT_EQ(controller.session().pendingInput(), " 8\n");
  const uint64_t cuts = controller.outputCuts();

  // Back from the end: the run stands before the halt, at the code block's
  // closing brace.
  controller.stepBack();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.phase(), Phase::Stopped);
  EXPECT_EQ(controller.session().line(), 11);
  EXPECT_EQ(controller.output(), "3");

  // Back over print: the output is cut back.
  controller.stepBack();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.session().line(), 10);
  EXPECT_EQ(controller.output(), "");
  EXPECT_GT(controller.outputCuts(), cuts);

  // Back over pop: the value is on the stack again.
  controller.stepBack();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.session().line(), 9);
  EXPECT_EQ(controller.session().stack(), std::vector<std::string>{"3"});
  EXPECT_EQ(value("m"), 0);

  // Back over input: the word read is queued again, and read again.
  controller.stepBack();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.session().line(), 8);
  EXPECT_EQ(value("n"), 0);
  EXPECT_EQ(controller.session().pendingInput(), "7 8\n");

  controller.continueRun();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.phase(), Phase::Ended);
  EXPECT_EQ(value("n"), 7);
  EXPECT_EQ(controller.output(), "3");
}

TEST_F(Controller, BreakpointsAreSourceLinesAndLinesWithoutInstructionsMeanTheNext) {
  start(kStackAndInput);
  controller.feedInput("1\n");
  // Line 2 (the var block) means the first instruction; line 12 stands for
  // nothing and is left out.
  controller.setBreakpointLines({9, 12});
  controller.continueRun();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.phase(), Phase::Stopped);
  EXPECT_EQ(controller.session().lastStop(), StopReason::Breakpoint);
  EXPECT_EQ(controller.session().line(), 9);

  controller.setBreakpointLines({});
  controller.continueRun();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.phase(), Phase::Ended);
}

// The window's thread keeps answering while a program loops for ever, and
// Pause stops it between two records. The time asked for here is generous:
// the figure itself comes from the benchmark.
TEST_F(Controller, PauseStopsAnEndlessLoopThatPrintsAndItsOutputStaysBounded) {
  start(kEndlessPrint);
  controller.continueRun();
  QElapsedTimer clock;
  clock.start();
  int timerTicks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++timerTicks; });
  ticker.start(20);
  QTest::qWait(400);
  EXPECT_EQ(controller.phase(), Phase::Running);
  // Other events were handled meanwhile.
  EXPECT_GE(timerTicks, 5);
  const uint64_t before = controller.session().stepsTaken();
  EXPECT_GT(before, 0u);

  controller.pause();
  EXPECT_EQ(controller.phase(), Phase::Stopped);
  EXPECT_EQ(controller.session().lastStop(), StopReason::Paused);
  const uint64_t steps = controller.session().stepsTaken();
  QTest::qWait(50);
  EXPECT_EQ(controller.session().stepsTaken(), steps);
  EXPECT_LE(controller.output().size(), DebugController::kKeptOutputBytes);
  EXPECT_EQ(controller.outputStart() + controller.output().size(),
            controller.session().outputLength());

  controller.stop();
  EXPECT_FALSE(controller.hasRun());
  EXPECT_EQ(controller.phase(), Phase::Idle);
}

TEST_F(Controller, EndedInputGivesTheEmptyTextAndSaysSo) {
  start(kStackAndInput);
  QSignalSpy notes(&controller, &DebugController::note);
  controller.continueRun();
  ASSERT_TRUE(settle());
  ASSERT_EQ(controller.phase(), Phase::WaitingForInput);
  controller.endInput();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.phase(), Phase::Ended);
  EXPECT_EQ(controller.session().variable(controller.session().findVariable("n")).stored, "");
  ASSERT_EQ(notes.size(), 1);
  EXPECT_EQ(notes[0][0].toString(), "input ended at line 8: n gets the empty text");
}

TEST_F(Controller, RestartKeepsBreakpointsAndEmptiesOutputAndQueue) {
  start(kStackAndInput);
  controller.setBreakpointLines({10});
  controller.feedInput("5 6\n");
  controller.continueRun();
  ASSERT_TRUE(settle());
  ASSERT_EQ(controller.session().line(), 10);
  controller.restart();
  EXPECT_EQ(controller.phase(), Phase::Stopped);
  EXPECT_EQ(controller.session().pendingInput(), "");
  EXPECT_EQ(controller.output(), "");
  controller.feedInput("1\n");
  controller.continueRun();
  ASSERT_TRUE(settle());
  EXPECT_EQ(controller.session().lastStop(), StopReason::Breakpoint);
  EXPECT_EQ(value("n"), 1);
}

}  // namespace
