// The straightforward interpreter, kept for the tests as the measure of the
// fast one: every value is text, every name is looked up by a linear search
// and every opcode text is parsed each time its record is reached, floats
// are written by the exact decimal expansion, and the loader runs the full
// label pass after each entry. It follows the interpreter's rules word for
// word and is built for clarity, not speed.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "code_table.h"
#include "interpreter.h"

// floatText by the exact method: the value printed to 40 digits by the C
// library (800 where the digits after the tenth read exactly 5000...), then
// rounded half up by hand.
std::string exactFloatText(double value);

// The variables, stack and flags in one text, to compare two engines' state.
std::string describeState(const std::vector<VariableRecord>& variables,
                          const std::vector<std::string>& stack, const CompareFlags& flags);

struct ReferenceProgram {
  std::vector<VariableRecord> variables;
  std::vector<CodeRecord> code;
  std::vector<std::string> stack;
  CompareFlags flags;
};

// Cuts a bytecode file into the tables with TokenList pieces and the label
// pass of every label record against every jump record.
ReferenceProgram referenceLoad(const std::string& text);

class ReferenceEngine {
 public:
  ReferenceEngine(ReferenceProgram& program, std::istream& in, std::ostream& out);
  // Carries out at most maxSteps more instruction records (label records
  // are not counted); true when the run goes on.
  bool run(uint64_t maxSteps);
  bool finished() const { return finished_; }
  // The record the next step carries out, past label records; the halt
  // record once halted; the record count once the run left the table.
  int position() const;
  uint64_t stepsTaken() const { return taken_; }

 private:
  int findVariable(const std::string& name) const;
  std::string operandText(const std::string& operand) const;
  void errorLine(const std::string& text);
  // Carries out the instruction at counter_; moves counter_ on.
  void perform(int opcode, const CodeRecord& record);

  ReferenceProgram& program_;
  std::istream& in_;
  std::ostream& out_;
  int64_t counter_ = 0;
  bool finished_ = false;
  uint64_t taken_ = 0;
};
