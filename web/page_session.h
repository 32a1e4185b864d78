// A program run under the page's debugger: the debugging core's session
// with the calls the page's worker makes, in the values JavaScript takes
// (numbers as doubles, texts as bytes, the state as one JSON text).
//
// The page drives it as every front end drives the core: a goal (run,
// step, step back), then advance() in slices of a few milliseconds until
// it returns anything but "budget"; input is fed as the learner sends it.
// Nothing here knows about a browser: the tests run it natively.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class DebugSession;

class PageSession {
 public:
  // Assembles source (the bytes of the program's file) as tarnel does.
  // record: keep a history of the steps to step back through (the page
  // records once the learner steps or sets a breakpoint); without it a run
  // goes at the engine's full speed and nothing can be undone.
  PageSession(std::string source, bool record);
  ~PageSession();
  PageSession(const PageSession&) = delete;
  PageSession& operator=(const PageSession&) = delete;

  // False when the front end's errors stopped the assembly: nothing runs,
  // and every call below does nothing.
  bool assembled() const;
  // What tarnel writes before the program's output: its numbered error
  // lines, each ended by a line feed, and the count line when they stopped
  // it.
  std::string console() const { return console_; }
  // What tarnel writes once the program has ended: "assembled with (0)
  // errors" or, after errors that did not stop it, the count line; empty
  // when nothing runs.
  std::string closingLine() const { return closingLine_; }

  // Goals (see debug_session.h); count is at least 1.
  void runOn();
  void step(double count);
  void stepBack(double count);
  void pause();
  // Carries out at most budget steps towards the goal and says why it
  // stopped: "budget" (call again), "steps", "breakpoint", "paused",
  // "input" (waiting for input; call again once some is fed), "ended",
  // "start", "history", or "none" when there was no goal.
  std::string advance(double budget);

  void feedInput(const std::string& text);
  // No more input will come: input reads the empty text from then on.
  void endInput();

  std::string takeOutput();
  // Every byte the program wrote in this run, less what stepping back took
  // back: the page cuts the output it shows to this length.
  double outputLength() const;
  double steps() const;

  // Breakpoints by source line. addBreakpointLine gives the line the run
  // will stop at (the first line at or after line that holds an
  // instruction; the code block's closing brace for the halt), or 0 when
  // there is none.
  void clearBreakpoints();
  int addBreakpointLine(int line);

  // What the views show, as JSON:
  //   {"stop":"steps","line":8,"steps":3,"ended":false,"undoable":3,
  //    "dropped":0,"effect":"total = 21",
  //    "variables":[{"name":"s","type":"string","value":"\"hi\"",
  //                  "changed":true,"cut":false}],
  //    "stack":["3"],"depth":1,"compared":true,"flags":[0,1,0,0,1,1],
  //    "pendingInput":"5 0\n","inputEnded":false,"notes":["..."]}
  // Values are shown as kivdebug shows them: as print writes them, a
  // string's in double quotes, control bytes as \n or \xHH, "(empty)" for
  // an empty number. The document is UTF-8 and its strings keep the bytes
  // as the checker's JSON does (json_report.h): a byte that is no part of
  // a UTF-8 character is the escape \udcXX. A value longer than kValueBytes is
  // cut there first ("cut":true), and the stack gives its top kStackShown
  // entries of "depth". Flags are in cmp's order: equal,
  // notEqual, greater, greaterOrEqual, less, lessOrEqual. The notes are
  // those since the last call.
  std::string stateJson();

  static constexpr std::size_t kValueBytes = 1000;
  static constexpr std::size_t kStackShown = 100;

 private:
  std::unique_ptr<DebugSession> session_;
  std::string console_;
  std::string closingLine_;
};
