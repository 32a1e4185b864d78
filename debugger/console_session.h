// kivdebug's interactive session: the commands of command_parser.h carried
// out on the debugging core, with the run's stops, values and listings
// written as lines on the console.
//
// The program's own output reaches out unchanged; the session's lines go to
// out as well, each on a line of its own (after a line end of the
// session's when the program stopped in the middle of a line). Notes about
// the run (the input ran out) go to err. The program's input is the input
// file's text when one was given (again at each run), else lines read from
// the session's own line source after the prompt "program input> ", asked
// only when the program waits for a word.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "command_parser.h"
#include "debug_session.h"
#include "line_source.h"
#include "program_console.h"

struct ConsoleOptions {
  // The input file's text, or nullptr to ask through lines.
  const std::string* inputText = nullptr;
  // out and err reach the same place (a terminal): a note on err starts on
  // a line of its own after the program's unended output.
  bool sharedConsole = false;
};

class ConsoleSession {
 public:
  ConsoleSession(DebugProgram program, LineSource& lines, std::ostream& out, std::ostream& err,
                 ConsoleOptions options = {});
  ~ConsoleSession();
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

  // Shows the program and where the run stands, then reads and carries out
  // commands until quit or the end of the lines.
  void run();
  // Carries out one command line; false when it ends the session.
  bool execute(const std::string& line);

 private:
  // A fresh run from the first record, breakpoints kept.
  void start();
  // Advances the goal set on the core to its stop, feeding the program's
  // input as it waits; an interrupt pauses it between two slices.
  StopReason drive();
  // Carries the goal to its stop and shows why it stopped.
  void go();
  void report(StopReason reason, uint64_t stepsBefore);

  void runCommand(const Command& command);
  bool ranOut();
  void breakCommand(const std::string& place, bool temporary);
  void runToCommand(const std::string& place);
  void watchCommand(const std::string& name);
  void deleteCommand(int number);
  void infoBreakCommand();
  void infoHistoryCommand();
  void printCommand(const std::string& name);
  void displayCommand(const std::string& name);
  void undisplayCommand(int number);
  void setCommand(const std::string& name, const std::string& value);
  void varsCommand();
  void stackCommand();
  void flagsCommand();
  // False when a listing that went on found no more lines.
  bool listCommand(const std::string& place);
  void whereCommand();
  void helpCommand(const std::string& word);

  // out, after a line end of the session's when the program's output
  // stopped in the middle of a line.
  std::ostream& say();
  // err likewise, where it shares the console with out.
  std::ostream& note();
  void drainOutput();
  void showStop(const std::string& header);
  void showDisplays();
  void showEnded();
  std::string stepsText() const;
  std::string variableLine(const VariableView& variable) const;
  // The variable named name as print finds it; -1 (and a line saying so)
  // when there is none.
  int variableNamed(const std::string& name);
  void listLines(int first, int last);

  struct Display {
    int number;
    std::string name;
  };

  DebugSession session_;
  LineSource& lines_;
  std::ostream& out_;
  std::ostream& err_;
  ConsoleOptions options_;
  LineTrackingOutput programOutBuffer_;
  std::ostream programOut_;
  std::string inputText_;
  bool hasInputFile_ = false;
  std::unique_ptr<ProgramInput> input_;

  std::vector<Display> displays_;
  int nextDisplay_ = 1;
  bool undoneOutputSaid_ = false;

  Command previous_;    // the last command carried out, for an empty line
  int nextListed_ = 0;  // where a bare list goes on after a list
};
