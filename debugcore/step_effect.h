// What one carried-out record changed, in words for a trace line: the
// variable and its new value, the flags after cmp, whether a jump was
// taken, what was pushed or popped.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "code_table.h"
#include "interpreter.h"

// The machine after a step, and what the effect cannot be read from
// afterwards.
struct StepState {
  const std::vector<VariableRecord>* variables = nullptr;  // as they stand after
  const std::vector<std::string>* stack = nullptr;         // after, bottom first
  std::size_t stackDepthBefore = 0;
  CompareFlags flags;             // after; a jump reads them and leaves them
  int positionAfter = 0;          // the engine's position after the step
  std::string positionAfterText;  // how to name it: "#5"
};

// The effect of the record that was carried out: "count = 3",
// "flags: notEqual greater greaterOrEqual", "jump taken to #5", "pushed 3",
// "popped 3, x = 3", "no variable coun: nothing changes"; empty when the
// record changes nothing worth a word (print, a passed-over opcode).
std::string stepEffect(const CodeRecordView& record, int opcode, const StepState& state);

// A value text as the debugger shows it: "(empty)" for the empty text,
// else as it is but for control bytes (see visibleText).
std::string shownValue(const std::string& value);

// text on one line: every control byte but the tab written as \xHH, so that
// a line feed held in a value or an operand cannot break a line of the
// debugger's.
std::string visibleText(const std::string& text);

// The flags that are set, by name in cmp's order: "notEqual less lessOrEqual".
std::string setFlagNames(const CompareFlags& flags);
