// An interactive debugging session: the commands of command_parser.h
// carried out on one program, with breakpoints, single steps and a look at
// variables, stack and flags between them.
//
// The program's own output reaches out unchanged; the session's lines go to
// out as well, each on a line of its own (after a line end of the
// session's when the program stopped in the middle of a line). The
// program's input is the input file's text when one was given, else lines
// read from the session's own line source after the prompt
// "program input> ".
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command_parser.h"
#include "debug_program.h"
#include "execution_engine.h"
#include "interpreter.h"
#include "line_source.h"
#include "program_console.h"
#include "program_map.h"

class ConsoleSession {
 public:
  // programInput: the input file's text, or nullptr to ask through lines.
  ConsoleSession(const DebugProgram& program, LineSource& lines, std::ostream& out,
                 const std::string* programInput);
  ~ConsoleSession();
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

  // Shows the program and where the run stands, then reads and carries out
  // commands until quit or the end of the lines.
  void run();
  // Carries out one command line; false when it ends the session.
  bool execute(const std::string& line);

 private:
  enum class Stop { Count, Breakpoint, Ended, Interrupted };

  // A fresh run from the first record, breakpoints kept.
  void start();
  // Carries out records until count are done, the run ends, a breakpoint
  // stands at the next record (not before the first one unless
  // checkFirst) or an interrupt is asked for.
  Stop advance(uint64_t count, bool checkFirst);
  void report(Stop stop);

  void runCommand();
  void stepCommand(uint64_t count);
  void continueCommand();
  void breakCommand(const std::string& place);
  void deleteCommand(int number);
  void infoBreakCommand();
  void printCommand(const std::string& name);
  void varsCommand();
  void stackCommand();
  void flagsCommand();
  void listCommand(const std::string& place);
  void whereCommand();
  void helpCommand(const std::string& word);

  // out, after a line end of the session's when the program's output
  // stopped in the middle of a line.
  std::ostream& say();
  void showStop(const std::string& header);
  void showEnded();
  std::string stepsText() const;
  std::string variableLine(const VariableRecord& variable) const;
  void listLines(int first, int last);
  int breakpointAt(int record) const;

  struct Breakpoint {
    int number;
    int record;
  };

  const DebugProgram& program_;
  LineSource& lines_;
  std::ostream& out_;
  LineTrackingOutput programOutBuffer_;
  std::ostream programOut_;
  const std::string* inputText_;
  PromptedInput promptedInput_;
  std::istringstream fileInput_;
  std::istream programIn_;

  std::unique_ptr<Interpreter> interpreter_;
  std::unique_ptr<ExecutionEngine> engine_;
  std::unique_ptr<ProgramMap> map_;
  bool cmpRan_ = false;

  std::vector<Breakpoint> breakpoints_;
  int nextBreakpoint_ = 1;

  Command repeatable_;   // the last step or continue
  bool listed_ = false;  // the last command was list
  int nextListed_ = 0;   // where a bare list goes on
};
