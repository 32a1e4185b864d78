// The debugging session as a front end drives it: goals advanced in
// slices, the reasons they stop for, the input queue, breakpoints and
// watches, what the state shows, and stepping back.
#include "debug_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DebugProgram assembled(const std::string& source) {
  DebugProgram program;
  std::vector<std::string> messages;
  EXPECT_TRUE(assembleProgram("p.tarnel", source, program, messages));
  EXPECT_TRUE(messages.empty());
  return program;
}

// Advances in small slices until the goal stops for a reason other than
// the budget.
StopReason finish(DebugSession& session, uint64_t slice = 3) {
  StopReason reason;
  do {
    reason = session.advance(slice);
  } while (reason == StopReason::BudgetUsed);
  return reason;
}

std::string variablesText(const DebugSession& session) {
  std::string text;
  for (const VariableView& v : session.variables()) {
    text += v.name + "=" + v.value + (v.changed ? "*" : "") + " ";
  }
  return text;
}

// Lines 6 to 13 of the source are the code; 14 closes it.
const char kSum[] =
    "kiv sum {\n"
    "var {\n"
    "var& n\n"
    "var& total := 0\n"
    "}\n"
    "begin {\n"
    "more:\n"            // 7
    "    input n\n"      // 8
    "    cmp n,0\n"      // 9
    "    jle done\n"     // 10
    "    add total,n\n"  // 11
    "    jmp more\n"     // 12
    "done:\n"            // 13
    "    print total\n"  // 14
    "}\n"                // 15
    "}\n";

TEST(DebugSession, StepsShowLinesValuesAndWhatChanged) {
  DebugSession session(
      assembled("kiv v {\nvar {\nvar$ s := \"hi\"\nvar# r := 1.5\nvar& n := 3\n}\nbegin {\n"
                "    add s,\" there\\n\"\n    mul r,2\n    dec n\n}\n}\n"));
  EXPECT_EQ(session.position(), 0);
  EXPECT_EQ(session.line(), 8);
  // No quotes inside, escapes expanded, a float as print writes it; the
  // assembler's own closing entry is not shown.
  EXPECT_EQ(variablesText(session), "s=hi r=1.5 n=3 ");
  session.startStep();
  EXPECT_EQ(session.advance(100), StopReason::StepsDone);
  EXPECT_EQ(variablesText(session), "s=hi there\n* r=1.5 n=3 ");
  EXPECT_EQ(session.lastStepEffect(), "s = \"hi there\\n\"");
  session.startStep(2);
  EXPECT_EQ(finish(session, 1), StopReason::StepsDone);
  EXPECT_EQ(variablesText(session), "s=hi there\n r=3. n=2* ");
  EXPECT_EQ(session.line(), 11);  // the closing brace: the halt
  EXPECT_TRUE(session.atEnd());
  EXPECT_EQ(session.stepsTaken(), 3u);
  session.startStep();
  EXPECT_EQ(session.advance(100), StopReason::Ended);
  // The halt is carried out but not counted.
  EXPECT_EQ(session.stepsTaken(), 3u);
  EXPECT_TRUE(session.ended());
  EXPECT_EQ(session.lastStepEffect(), "the program ends");
  session.startContinue();
  EXPECT_EQ(session.advance(100), StopReason::Ended);
}

TEST(DebugSession, InputWaitsForAWholeWordAndKeepsTheRestForTheNext) {
  DebugSession session(assembled(kSum));
  session.startContinue();
  EXPECT_EQ(session.advance(1000), StopReason::WaitingForInput);
  EXPECT_EQ(session.line(), 8);
  EXPECT_EQ(session.stepsTaken(), 0u);
  // A word is whole once white space follows it.
  session.feedInput("4 1");
  EXPECT_EQ(session.advance(1000), StopReason::WaitingForInput);
  EXPECT_EQ(session.variable(session.findVariable("total")).value, "4");
  EXPECT_EQ(session.pendingInput(), " 1");
  session.feedInput("2\n");
  EXPECT_EQ(session.advance(1000), StopReason::WaitingForInput);
  EXPECT_EQ(session.variable(session.findVariable("TOTAL")).value, "16");
  EXPECT_TRUE(session.takeNotes().empty());
  // At the end of input, input gives the empty text (0 or less) and a
  // note says so, once.
  session.endInput();
  EXPECT_EQ(session.advance(1000), StopReason::Ended);
  EXPECT_EQ(session.takeOutput(), "16");
  EXPECT_EQ(session.takeNotes(),
            std::vector<std::string>{"input ended at line 8: n gets the empty text"});
  EXPECT_EQ(session.variable(session.findVariable("n")).value, "");
}

TEST(DebugSession, AWordCutByTheEndOfInputIsWhole) {
  DebugSession session(assembled(kSum));
  session.feedInput("  7");
  session.endInput();
  session.feedInput(" 9\n");  // ignored: input has ended
  session.startContinue();
  EXPECT_EQ(session.advance(1000), StopReason::Ended);
  EXPECT_EQ(session.takeOutput(), "7");
}

TEST(DebugSession, BreakpointsStopOnArrivalAndCountTheirHits) {
  DebugSession session(assembled(kSum));
  session.feedInput("1 2 3 0 ");
  // Line 13 is a label line: the next instruction, print total.
  const int add = session.map().resolveLine(11).record;
  const int print = session.map().resolveLine(13).record;
  EXPECT_EQ(session.addBreakpoint(add), 1);
  EXPECT_EQ(session.addBreakpoint(print, true), 2);
  EXPECT_EQ(session.addBreakpoint(add), 1);  // one a record
  EXPECT_EQ(session.addBreakpoint(0), 0);    // a label record
  session.startContinue();
  EXPECT_EQ(finish(session), StopReason::Breakpoint);
  EXPECT_EQ(session.stopBreakpoint().number, 1);
  EXPECT_EQ(session.line(), 11);
  // Continuing from a breakpoint leaves it first.
  session.startContinue();
  EXPECT_EQ(finish(session), StopReason::Breakpoint);
  EXPECT_EQ(session.variable(session.findVariable("n")).value, "2");
  EXPECT_EQ(session.breakpoints()[0].hits, 2u);
  ASSERT_TRUE(session.deleteBreakpoint(1));
  session.startContinue();
  EXPECT_EQ(finish(session), StopReason::Breakpoint);
  // A temporary breakpoint is gone once the run stopped at it.
  EXPECT_TRUE(session.stopBreakpoint().temporary);
  EXPECT_EQ(session.stopBreakpoint().record, print);
  EXPECT_TRUE(session.breakpoints().empty());
  session.startContinue();
  EXPECT_EQ(finish(session), StopReason::Ended);
  EXPECT_EQ(session.takeOutput(), "6");
}

TEST(DebugSession, AFreshRunStopsAtABreakpointOnItsFirstRecord) {
  DebugSession session(assembled(kSum));
  session.addBreakpoint(session.position());
  session.startContinue();
  EXPECT_EQ(session.advance(10), StopReason::Breakpoint);
  EXPECT_EQ(session.stepsTaken(), 0u);
  session.startContinue();
  EXPECT_EQ(session.advance(10), StopReason::WaitingForInput);
  // A restart arrives nowhere again; a step never stops before moving.
  session.restart();
  session.startStep();
  EXPECT_EQ(session.advance(10), StopReason::WaitingForInput);
}

TEST(DebugSession, RunsToAPlaceOrPastTheLoopsLastLine) {
  DebugSession session(assembled(kSum));
  session.feedInput("5 5 5 -1 ");
  session.startRunTo(session.map().resolveLine(12).record);
  EXPECT_EQ(finish(session), StopReason::PlaceReached);
  EXPECT_EQ(session.line(), 12);
  // Past line 12: the jump goes back to line 8, so the loop runs to its end.
  session.startUntilPastLine();
  EXPECT_EQ(finish(session), StopReason::PlaceReached);
  EXPECT_EQ(session.line(), 14);
  EXPECT_EQ(session.variable(session.findVariable("total")).value, "15");
}

TEST(DebugSession, AWatchStopsWhenTheValueChanges) {
  DebugSession session(assembled(
      "kiv w {\nvar {\nvar& a := 1\nvar& b\n}\nbegin {\n    mov a,1\n    inc b\n    inc a\n"
      "    print a\n}\n}\n"));
  EXPECT_EQ(session.addWatch(session.findVariable("a")), 1);
  EXPECT_EQ(session.addWatch(-1), 0);
  session.startContinue();
  // mov a,1 leaves a as it was.
  EXPECT_EQ(finish(session), StopReason::WatchChanged);
  EXPECT_EQ(session.line(), 10);
  EXPECT_EQ(session.watchHit().name, "a");
  EXPECT_EQ(session.watchHit().oldValue, "1");
  EXPECT_EQ(session.watchHit().newValue, "2");
  EXPECT_EQ(session.watches()[0].hits, 1u);
  // Back over the change: the watch sees it undone.
  session.startReverseContinue();
  EXPECT_EQ(finish(session), StopReason::WatchChanged);
  EXPECT_EQ(session.line(), 9);
  EXPECT_EQ(session.watchHit().newValue, "1");
}

TEST(DebugSession, SlicesKeepTheGoalAndPauseEndsIt) {
  DebugSession session(
      assembled("kiv f {\nvar {\nvar& n\n}\nbegin {\ntop:\n    inc n\n    jmp top\n}\n}\n"));
  session.startContinue();
  for (int slice = 0; slice < 10; ++slice) EXPECT_EQ(session.advance(1000), StopReason::BudgetUsed);
  EXPECT_EQ(session.stepsTaken(), 10000u);
  EXPECT_TRUE(session.hasGoal());
  session.pause();
  EXPECT_FALSE(session.hasGoal());
  EXPECT_EQ(session.advance(1000), StopReason::Paused);
  EXPECT_EQ(session.stepsTaken(), 10000u);
  session.startStep(2500);
  EXPECT_EQ(session.advance(1000), StopReason::BudgetUsed);
  EXPECT_EQ(finish(session, 1000), StopReason::StepsDone);
  EXPECT_EQ(session.stepsTaken(), 12500u);
}

TEST(DebugSession, StepBackRestoresEverythingTheStepsChanged) {
  DebugSession session(
      assembled("kiv b {\nvar {\nvar$ w := \"x\"\nvar& n := 5\nvar$ s := \"ab\"\n}\nbegin {\n"
                "    push n\n"   // 8
                "    input w\n"  // 9
                "    print w\n"  // 10
                "    cmp n,9\n"  // 11
                "    add s,w\n"  // 12
                "    pop w\n"    // 13
                "    pop n\n"    // 14
                "}\n}\n"));
  session.feedInput("hello world\n");
  session.startContinue();
  EXPECT_EQ(finish(session), StopReason::Ended);
  EXPECT_EQ(session.outputLength(), 5u);
  EXPECT_EQ(variablesText(session), "w=5 n= s=abhello ");
  EXPECT_TRUE(session.compared());
  EXPECT_EQ(session.undoableSteps(), 8u);  // the halt too
  session.startStepBack(3);
  EXPECT_EQ(finish(session, 1), StopReason::StepsDone);
  // Before pop w: the stack holds 5 again.
  EXPECT_EQ(session.line(), 13);
  EXPECT_EQ(variablesText(session), "w=hello* n=5 s=abhello ");
  EXPECT_EQ(session.stack(), std::vector<std::string>{"5"});
  session.startStepBack(2);
  EXPECT_EQ(finish(session), StopReason::StepsDone);
  // Before cmp: the flags are unset again; the output stays.
  EXPECT_EQ(session.line(), 11);
  EXPECT_FALSE(session.compared());
  EXPECT_EQ(variablesText(session), "w=hello n=5 s=ab ");
  EXPECT_EQ(session.outputLength(), 5u);
  session.startStepBack();
  EXPECT_EQ(finish(session), StopReason::StepsDone);
  EXPECT_EQ(session.outputLength(), 0u);
  // Back over the input: the word is queued again.
  session.startStepBack();
  EXPECT_EQ(finish(session), StopReason::StepsDone);
  EXPECT_EQ(session.pendingInput(), "hello world\n");
  EXPECT_EQ(variablesText(session), "w=x* n=5 s=ab ");
  session.startStepBack(5);
  EXPECT_EQ(finish(session), StopReason::AtStart);
  EXPECT_EQ(session.stack(), std::vector<std::string>{});
  EXPECT_EQ(session.stepsTaken(), 0u);
  // Forward again, the same run.
  session.startContinue();
  EXPECT_EQ(finish(session), StopReason::Ended);
  EXPECT_EQ(variablesText(session), "w=5 n= s=abhello ");
  EXPECT_EQ(session.takeOutput(), "hello");
}

TEST(DebugSession, ReverseContinueStopsAtTheBreakpointBefore) {
  DebugSession session(assembled(kSum));
  session.feedInput("1 2 3 0 ");
  session.endInput();
  const int add = session.map().resolveLine(11).record;
  session.startContinue();
  EXPECT_EQ(finish(session), StopReason::Ended);
  session.addBreakpoint(add);
  session.startReverseContinue();
  EXPECT_EQ(finish(session), StopReason::Breakpoint);
  EXPECT_EQ(session.position(), add);
  EXPECT_EQ(session.variable(session.findVariable("n")).value, "3");
  EXPECT_EQ(session.variable(session.findVariable("total")).value, "3");
  session.deleteAllBreakpoints();
  session.startReverseContinue();
  EXPECT_EQ(finish(session), StopReason::AtStart);
  EXPECT_EQ(session.pendingInput(), "1 2 3 0 ");
}

TEST(DebugSession, TheHistoryDropsItsOldestStepsAndSaysSo) {
  DebugSessionOptions options;
  options.historySteps = 1000;
  DebugSession session(
      assembled("kiv f {\nvar {\nvar& n\n}\nbegin {\ntop:\n    inc n\n    jmp top\n}\n}\n"),
      options);
  session.startStep(5000);
  EXPECT_EQ(finish(session, 700), StopReason::StepsDone);
  EXPECT_EQ(session.undoableSteps(), 1000u);
  EXPECT_EQ(session.droppedSteps(), 4000u);
  EXPECT_LE(session.historyBytes(), 1000u * 32);
  session.startReverseContinue();
  EXPECT_EQ(finish(session, 300), StopReason::HistoryExhausted);
  EXPECT_EQ(session.stepsTaken(), 4000u);
  EXPECT_EQ(session.variable(0).value, "2000");
}

TEST(DebugSession, SetVariableIsUndoneWithTheStepBeforeIt) {
  DebugSession session(assembled(kSum));
  session.feedInput("3 ");
  const int total = session.findVariable("total");
  EXPECT_TRUE(session.setVariable(total, "10"));
  EXPECT_FALSE(session.setVariable(99, "1"));
  session.startStep(4);
  EXPECT_EQ(finish(session), StopReason::StepsDone);
  EXPECT_EQ(session.variable(total).value, "13");
  EXPECT_TRUE(session.setVariable(total, "\"a b\""));
  EXPECT_EQ(session.variable(total).value, "a b");
  EXPECT_TRUE(session.variable(total).changed);
  session.startStepBack();
  EXPECT_EQ(finish(session), StopReason::StepsDone);
  EXPECT_EQ(session.variable(total).value, "10");
  // The edit made before the first step stays: there is no step to undo it with.
  session.startStepBack(10);
  EXPECT_EQ(finish(session), StopReason::AtStart);
  EXPECT_EQ(session.variable(total).value, "10");
}

TEST(DebugSession, WithoutHistoryARunGoesAtTheEnginesPaceAndStillWaitsForInput) {
  DebugSessionOptions options;
  options.historySteps = 0;
  DebugSession session(assembled(kSum), options);
  session.startContinue();
  EXPECT_EQ(session.advance(1000000), StopReason::WaitingForInput);
  EXPECT_EQ(session.position(), 1);
  session.feedInput("2 2\n");
  EXPECT_EQ(session.advance(1000000), StopReason::WaitingForInput);
  EXPECT_EQ(session.stepsTaken(), 10u);
  session.endInput();
  EXPECT_EQ(session.advance(1000000), StopReason::Ended);
  EXPECT_EQ(session.takeOutput(), "4");
  EXPECT_EQ(session.takeNotes().size(), 1u);
  session.startStepBack();
  EXPECT_EQ(session.advance(10), StopReason::HistoryExhausted);
}

TEST(DebugSession, ProgramsThatEndWithoutAHalt) {
  // A jump out of the table ends the run; so does an empty table at once.
  DebugSession jumpOut(bytecodeProgram("j.kiv", "var{n&:1,con0&:0}code{2!n:0,15!99:0,2!n:0}"));
  EXPECT_EQ(jumpOut.line(), 0);
  jumpOut.startContinue();
  EXPECT_EQ(finish(jumpOut), StopReason::Ended);
  EXPECT_EQ(jumpOut.stepsTaken(), 2u);
  EXPECT_EQ(jumpOut.position(), 3);
  EXPECT_EQ(variablesText(jumpOut), "n=2 ");
  jumpOut.startStepBack();
  EXPECT_EQ(finish(jumpOut), StopReason::StepsDone);
  EXPECT_FALSE(jumpOut.ended());
  EXPECT_EQ(jumpOut.position(), 1);
  DebugSession empty(bytecodeProgram("e.kiv", "var{}code{}"));
  EXPECT_TRUE(empty.ended());
  empty.startStep();
  EXPECT_EQ(empty.advance(1), StopReason::Ended);
}

TEST(DebugSession, TellsTheLastStepInWords) {
  DebugSession session(assembled(
      "kiv t {\nvar {\nvar& x := 1\nvar$ s\n}\nbegin {\n    push x\n    pop s\n    pop s\n"
      "    cmp x,2\n    jl stop\n}\n}\n"));
  const char* wanted[] = {"pushed 1",
                          "popped, s = \"1\"",
                          "the stack was empty, s = \"\"",
                          "flags: notEqual less lessOrEqual",
                          "jump taken to #6",
                          "the program ends"};
  for (const char* effect : wanted) {
    session.startStep();
    session.advance(1);
    EXPECT_EQ(session.lastStepEffect(), effect);
  }
  session.startStepBack();
  session.advance(1);
  EXPECT_EQ(session.lastStepEffect(), "");
}

}  // namespace
