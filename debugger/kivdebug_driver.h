// What kivdebug does with its command line, apart from main itself, so that
// tests can run it with their own streams.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// What main finds out about the console it runs on.
struct KivdebugConsole {
  // Standard input is a terminal: commands and the program's input are
  // read with line editing, and an interrupt stops a run between two
  // records.
  bool terminal = false;
  // Standard output and standard error reach the same file or terminal.
  bool sharedOutput = false;
};

// args are the arguments after the program's name; in, out and err are the
// console. kivdebug's own messages (a wrong command line, a file that
// cannot be read, the assembler's errors) and notes go to err; out holds the
// program's output and, in a session, the session's lines. Returns the exit
// status: 0 after a session, or a batch run that ended by itself; 2 when
// --max-steps stopped the run; 1 for a wrong command line, a program or
// input file that cannot be read or assembled, or a batch run after
// assembler errors (an unknown instruction left out), as tarnel does.
int runKivdebug(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, const KivdebugConsole& console);
