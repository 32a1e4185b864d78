// A run without commands, for scripts: to the end, or to a limit on the
// number of records carried out, optionally with a trace line for every
// record on the error stream.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "debug_program.h"

struct BatchOptions {
  bool trace = false;
  bool limited = false;
  uint64_t maxSteps = 0;  // with limited
};

// The exit status of a batch run: the program ended by itself, or the step
// limit stopped it.
constexpr int kEndedStatus = 0;
constexpr int kStepLimitStatus = 2;

// Runs the program with in and out as its console (in may be a
// PromptedInput that asks at the terminal). Each trace line is
// "#4 (line 9): inc count => count = 3" (the record, its source line, the
// instruction, and what changed), written to trace after the program's
// pending output is flushed. When the limit stops the run, one line says so
// on trace. Returns kEndedStatus or kStepLimitStatus.
int runBatch(const DebugProgram& program, const BatchOptions& options, std::istream& in,
             std::ostream& out, std::ostream& trace);
