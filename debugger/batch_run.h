// A run without commands, for scripts: to the end, or to a limit on the
// number of instructions carried out, optionally with a trace line for
// every record on the error stream.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "debug_program.h"
#include "program_console.h"

struct BatchOptions {
  bool trace = false;
  bool limited = false;
  uint64_t maxSteps = 0;  // with limited
  // Standard output and standard error reach the same place (a terminal):
  // kivdebug's lines on err start on a line of their own after the
  // program's unended output.
  bool sharedConsole = false;
};

// The exit status of a batch run: the program ended by itself, or the step
// limit stopped it.
constexpr int kEndedStatus = 0;
constexpr int kStepLimitStatus = 2;

// Runs the program with out as its output; its input is inputText, then
// whatever input gives when the program waits for more. Each trace line is
// "#4 (line 9): inc count => count = 3" (the record, its source line, the
// instruction, and what changed), written to err after the program's output
// of that record. The limit counts instructions before the final halt, so a
// limit equal to a finished run's count lets it finish. When the limit stops
// the run, one line says so on err, and so does a note when the input ran
// out. Returns kEndedStatus or kStepLimitStatus.
int runBatch(const DebugProgram& program, const BatchOptions& options, const std::string& inputText,
             ProgramInput& input, std::ostream& out, std::ostream& err);
