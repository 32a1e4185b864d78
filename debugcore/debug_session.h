// The debugging core: one program run under a debugger's control. It is
// driven by values and calls only (no console, window, file, thread or
// clock), so that a console debugger, an editor on its GUI thread and a web
// page in JavaScript all drive it the same way:
//
//   DebugProgram program;
//   std::vector<std::string> messages;
//   if (!assembleProgram("sum.tarnel", text, program, messages)) { show messages; stop }
//   DebugSession session(std::move(program));
//   session.addBreakpoint(session.map().resolveLine(23).record);
//   session.startContinue();
//   for (;;) {
//     StopReason why = session.advance(5000);   // a bounded slice, never blocks
//     show(session.takeOutput());
//     if (why != StopReason::BudgetUsed) break;  // else: let the window breathe, then go on
//   }
//
// Contract for front ends:
// - Every call returns at once. advance() carries out at most its budget of
//   steps (forward or undone) and returns why it stopped; no call waits for
//   input, sleeps or starts a thread. Calls are made from one thread.
// - A *goal* (startStep, startContinue, startRunTo, startUntilPastLine,
//   startStepBack, startReverseContinue) says what the next advance() calls
//   work towards. It stays set while advance() returns BudgetUsed or
//   WaitingForInput, so calling advance() again goes on towards it (after
//   feeding input for the latter). Any other reason ends the goal; advance()
//   without a goal does nothing and returns the last reason again. Starting
//   a goal replaces the one in progress. pause() ends it between two slices.
// - Between any two calls the state can be read: position, line, steps,
//   variables, stack, flags, whether the run has ended, the history.
// - A step carries out one instruction record. Label records are passed
//   over within the step that reaches them. The final halt is carried out
//   like any record but is not counted in stepsTaken(), so the count of a
//   finished run is the number of instructions before its halt.
// - Breakpoints are checked when the run arrives at a record, not before
//   the first step of a goal: a goal started at a breakpoint's record
//   leaves it. Only a run just (re)started, which has arrived nowhere yet,
//   stops at a breakpoint on its very first record.
// - The program's input is a queue of text the front end feeds. The word
//   rules are kivinterp's: white space is skipped, a word runs to the next
//   white space; what one input does not take stays for the next. A word is
//   complete once white space follows it or input has ended. When the next
//   record is an input and no complete word is queued (and input has not
//   ended), advance() stops with WaitingForInput before carrying it out.
//   Once input has ended, input gives the empty text at the end of the
//   queue, as kivinterp does at the end of its input, and a note says so
//   (takeNotes()).
// - The program's output (print and the run-time error lines, in order) is
//   kept until taken with takeOutput(); outputLength() counts every byte
//   written in this run. Stepping back lowers outputLength(): a front end
//   that shows the output cuts what it shows back to that many bytes (a
//   terminal, which cannot, says so instead).
// - Stepping back undoes steps one at a time: variables, stack, flags and
//   position become exactly what they were, the output length goes back,
//   and the input the undone steps read returns to the front of the queue.
//   The history keeps the most recent steps (at least 1,000,000 by default;
//   fewer only when the texts it keeps pass their byte bound), dropping the
//   oldest; stepping back ends with HistoryExhausted at the oldest kept one
//   and with AtStart at the start of the run. A step back that arrives at
//   a breakpoint's record stops there (the hit counted), as a watched
//   variable's change does. Memory: 32 bytes a kept step, in a ring
//   allocated at its full size (32 MiB by default) when the first step is
//   recorded, which becomes resident as it fills; plus the value texts
//   the steps replaced (an append to a string keeps only the old length).
// - Lines are the source text's own, counted from 1; records without a
//   line (every record of a bytecode program) have line 0. The closing
//   brace of the code block is the halt's line.
// - The first call may be any; restart() goes back to the first record as
//   a new session would, keeping breakpoints and watches.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "debug_program.h"
#include "interpreter.h"
#include "program_map.h"

// Why advance() returned.
enum class StopReason {
  None,              // nothing has run since the session was made or restarted
  StepsDone,         // a step goal carried out (or undid) the steps it asked for
  Breakpoint,        // the run arrived at a breakpoint's record: stopBreakpoint()
  WatchChanged,      // the last step changed a watched variable: watchHit()
  PlaceReached,      // a run-to goal arrived at its record, or passed its line
  Ended,             // the program has ended; forward goals stop here at once
  WaitingForInput,   // the next record is input and no complete word is queued
  Paused,            // pause() ended the goal between two slices
  BudgetUsed,        // the slice's budget ran out first: call advance() again
  AtStart,           // stepping back reached the start of the run
  HistoryExhausted,  // stepping back reached the oldest step the history keeps
};

// A variable as the debugger shows it.
struct VariableView {
  int index = 0;               // the engine's index: for setVariable and addWatch
  std::string name;            // as declared (lower case in a source program)
  int type = kStringVariable;  // kStringVariable, kIntegerVariable, kFloatVariable
  // The value as print writes it: no quote marks, escapes expanded, a float
  // as "3." or "0.3333333333". May hold line feeds and other control bytes.
  std::string value;
  // The text the program holds, as mov copies it (a string keeps its quote
  // marks): what a front end offers to edit with setVariable.
  std::string stored;
  // The last step carried out or undone (or setVariable) changed it.
  // Always false after a run without history, which does not look.
  bool changed = false;
};

// "integer", "float" or "string": the word every front end shows a
// variable's type with.
const char* variableTypeName(int type);

struct BreakpointView {
  int number = 0;          // shared with watches, counting from 1 in one session
  int record = 0;          // an instruction record, never a label record
  bool temporary = false;  // deleted when the run stops at it
  uint64_t hits = 0;       // times the run arrived at it, forward or back
};

struct WatchView {
  int number = 0;
  int variable = 0;  // the engine's index
  std::string name;
  uint64_t hits = 0;  // times a step changed the value
};

// The change that ended a goal with WatchChanged.
struct WatchHit {
  int number = 0;
  std::string name;
  std::string oldValue;  // as VariableView::value
  std::string newValue;
};

struct DebugSessionOptions {
  // The most steps the history keeps; 0 records nothing (and lets a goal
  // of more than one step with no breakpoint, watch or place run at the
  // engine's full speed, after which lastStepEffect() and
  // VariableView::changed tell nothing).
  uint64_t historySteps = uint64_t{1} << 20;
  // The most bytes of value texts the history keeps; past it the oldest
  // steps are dropped even below historySteps.
  uint64_t historyTextBytes = uint64_t{256} << 20;
};

class DebugSession {
 public:
  // A session at the program's first record, nothing run yet.
  explicit DebugSession(DebugProgram program, DebugSessionOptions options = {});
  ~DebugSession();
  DebugSession(const DebugSession&) = delete;
  DebugSession& operator=(const DebugSession&) = delete;

  const DebugProgram& program() const;
  // Records, their instructions and lines, and the places of breakpoints.
  const ProgramMap& map() const;

  // --- The run ---------------------------------------------------------

  // Back to the first record with the variables' initial values: output,
  // input queue, notes, history and goal are cleared; breakpoints, watches
  // and their hit counts stay.
  void restart();

  // Goals; see the contract above. count must be at least 1.
  void startStep(uint64_t count = 1);
  void startContinue();
  // Stops on arriving at record (or at a breakpoint, a watch, the end).
  void startRunTo(int record);
  // Stops on arriving at a record whose line is past the current one (a
  // bytecode program: a record past the current one), as a loop's last
  // line followed by "until" leaves the loop.
  void startUntilPastLine();
  void startStepBack(uint64_t count = 1);
  // Steps back until the run arrives back at a breakpoint or a watched
  // variable changes, or to the start (or the oldest kept step).
  void startReverseContinue();
  // Carries out at most budget steps (at least 1) towards the goal.
  StopReason advance(uint64_t budget);
  // Ends the goal in progress; the next advance() returns Paused.
  void pause();
  bool hasGoal() const;
  StopReason lastStop() const;

  // --- The state, readable between any two calls -----------------------

  // The record the next step carries out: never a label record; the halt
  // record once halted; map().count() once the run left the table.
  int position() const;
  // The source line of position(); 0 when it has none (a bytecode program).
  int line() const;
  // Instructions carried out, the final halt not counted.
  uint64_t stepsTaken() const;
  bool ended() const;
  // True when the next record is the halt (or the run is past the table):
  // one more step ends the program without counting.
  bool atEnd() const;

  // Every variable in table order, without the interpreter's own closing
  // entry.
  std::vector<VariableView> variables() const;
  // The engine's index of the variable named name as the program finds it
  // (the first of that name); in a source program, whose names are lower
  // case, in any case. -1 when there is none.
  int findVariable(const std::string& name) const;
  VariableView variable(int index) const;
  // Stores text as the variable's value, as written (no quotes added): the
  // program then reads it as it would read that literal. Stepping back undoes
  // it together with the step before it. False for a bad index.
  bool setVariable(int index, const std::string& text);

  // The stack, top first, each value as print writes it.
  std::vector<std::string> stack() const;
  // The same, each value as the program holds it.
  std::vector<std::string> storedStack() const;
  std::size_t stackDepth() const;
  CompareFlags flags() const;
  // Whether any cmp has set the flags in this run (before one, all six are
  // false).
  bool compared() const;

  // The last step carried out, in words for a trace: "count = 3",
  // "flags: notEqual less lessOrEqual", "jump taken to #5", "pushed 3",
  // "popped, x = \"3\"", "the program ends"; empty when it changed nothing
  // worth a word (print) or no step has run.
  std::string lastStepEffect() const;
  // The record the last step carried out; -1 before any.
  int lastStepRecord() const;

  // --- Input and output ------------------------------------------------

  // Appends text to the input queue. Text fed after endInput() is ignored.
  void feedInput(std::string_view text);
  // No more text will come: input at the end of the queue gives the empty
  // text from now on.
  void endInput();
  bool inputEnded() const;
  // The queued text no input has read yet.
  std::string pendingInput() const;

  // The output written since the last call, in order.
  std::string takeOutput();
  // Every byte written in this run, taken or not, less what stepping back
  // undid.
  uint64_t outputLength() const;

  // Notes since the last call, one line each without its line end:
  // "input ended at line 14: n gets the empty text" (once a run).
  std::vector<std::string> takeNotes();

  // --- Breakpoints and watches -----------------------------------------

  // A breakpoint before record (an instruction record from
  // map().resolve... or map().resolveLine). The number of the new
  // breakpoint, or of the one already there; 0 when record is no
  // instruction record.
  int addBreakpoint(int record, bool temporary = false);
  // Deletes the breakpoint or watch of that number; false when none has it.
  bool deleteBreakpoint(int number);
  // Deletes every breakpoint and watch.
  void deleteAllBreakpoints();
  // The number of the breakpoint at record, or 0.
  int breakpointAt(int record) const;
  std::vector<BreakpointView> breakpoints() const;
  // Stops a forward or backward run when the variable's value changes. The
  // number of the new watch (or of the one on that variable); 0 for a bad
  // index.
  int addWatch(int variable);
  std::vector<WatchView> watches() const;
  // The breakpoint the last Breakpoint stop arrived at (a temporary one is
  // deleted by then, its number still given here), with its temporary flag.
  BreakpointView stopBreakpoint() const;
  const WatchHit& watchHit() const;

  // --- History ---------------------------------------------------------

  // Steps that can be undone now.
  uint64_t undoableSteps() const;
  // Steps of this run that were dropped from the history to bound it.
  uint64_t droppedSteps() const;
  // Bytes the history holds now (entries and kept texts).
  uint64_t historyBytes() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};
