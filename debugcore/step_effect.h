// Values and steps in the words the debugger shows them in: a value as the
// program prints it, the flags by name, and what one carried-out record
// changed, for a trace line or a status bar.
#pragma once

#include <string>

#include "code_table.h"
#include "interpreter.h"

// A variable's value as the debugger shows it, from the text print writes
// for it: a string variable's in double quotes ("hi there", "" when empty),
// any other's as it is, or "(empty)" for the empty text. A line feed in a
// string shows as \n; other control bytes as in visibleText.
std::string shownValue(const std::string& printed, int type);
// A value without a type (a stack entry): as it is, "(empty)" for the empty
// text, control bytes as in visibleText.
std::string shownValue(const std::string& printed);

// text on one line: every control byte but the tab written as \xHH, so that
// a line feed held in a value or an operand cannot break a line of the
// debugger's.
std::string visibleText(const std::string& text);

// The flags that are set, by name in cmp's order: "notEqual less lessOrEqual";
// "none set" before any cmp.
std::string setFlagNames(const CompareFlags& flags);

// The machine after a step, and what the effect cannot be read from
// afterwards.
struct StepState {
  bool hasDestination = false;    // the record's first operand names a variable
  std::string destinationValue;   // its value after the step, as shownValue gives it
  bool stackWasEmpty = false;     // before the step
  std::string pushedValue;        // the top after a push, as shownValue gives it
  CompareFlags flags;             // after; a jump reads them and leaves them
  std::string positionAfterText;  // how to name the position after it: "#5"
};

// The effect of the record that was carried out: "count = 3",
// "flags: notEqual greater greaterOrEqual", "jump taken to #5", "pushed 3",
// "popped, x = 3", "no variable coun: nothing changes"; empty when the
// record changes nothing worth a word (print, a passed-over opcode).
std::string stepEffect(const CodeRecordView& record, int opcode, const StepState& state);
