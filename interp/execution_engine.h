// The dispatch loop that runs a loaded program, and the instruction set.
//
// The code table and the variable names never change while a program runs,
// so each record is decoded once before the run: its opcode number, and for
// each operand the index of the first variable of that exact name (or none,
// when the operand is a literal). Values, flags, stack and console behave
// exactly as when every name is looked up and every opcode text parsed at
// each step: the lookup's answer cannot change, and every error line is
// still written each time its record is reached.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "interpreter.h"

class ExecutionEngine {
 public:
  ExecutionEngine(Interpreter& program, std::istream& in, std::ostream& out);
  void run();

 private:
  // One code record, decoded.
  struct Step {
    int opcode = 0;
    int operand1Variable = -1;  // index in variables, or -1
    int operand2Variable = -1;
    bool targetIsName = false;  // a jump operand beginning with a letter
    int32_t target = 0;         // a jump operand's leading integer
  };

  void decode();
  // Carries out one instruction other than a jump.
  void perform(const Step& step, const CodeRecord& record);
  // True when the jump moves to step.target; an unresolved name writes its
  // line and is not taken.
  bool jumpTaken(const Step& step, const CodeRecord& record);

  const std::string& sourceText(int variable, const std::string& operand) const;
  void errorLine(const std::string& text);
  void arithmetic(int opcode, VariableRecord& destination, const std::string& source);
  void bitwise(int opcode, VariableRecord& destination, const std::string& source);
  void compare(const VariableRecord& variable, const std::string& source);
  bool flagOf(int opcode) const;

  Interpreter& program_;
  std::istream& in_;
  std::ostream& out_;
  std::vector<Step> steps_;
};
