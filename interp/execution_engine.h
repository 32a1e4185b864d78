// The execution engine: runs a loaded program straight through, a bounded
// number of steps at a time, or one step at a time.
//
// Contract:
// - A step carries out one instruction record. Label records (opcode -1,
//   whatever their label) are passed over within the step that reaches
//   them, so position() never rests on one, and they are not counted.
// - The halt record (and any opcode text without leading digits) is a step
//   of its own, after which the run is over; so is a step that leaves the
//   code table (the last record, or a jump outside it).
// - What a step does to variables, stack, flags and the streams is exactly
//   what the interpreter's rules say, every error line written each time
//   its record is reached. The fast run and the single step go through the
//   same code for every instruction.
// - The engine reads the Interpreter's variable and code tables when it is
//   made and works on copies of the values; run() to the end, and
//   writeBack(), store the values and the stack back into the Interpreter.
//   The flags are the Interpreter's own. Neither table may change while an
//   engine lives.
// - Records are decoded the first time they are reached (opcode number,
//   variables named, literal operands parsed once), so loading a large
//   program that ends early costs little.
// - A debugger can look at what the next step will touch (nextStep), read
//   and write the values, the stack and the flags, and move the run back to
//   an earlier position, so as to undo steps; an input gate lets it stop a
//   run before an input that has no word to read yet. A run without them
//   (kivinterp's) pays for neither.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "bulk_memory.h"
#include "interpreter.h"
#include "run_value.h"

// What a step does, as far as undoing it needs to know.
enum class StepRole : uint8_t {
  Ends,      // halt, or the end of the table: the run is over after it
  Plain,     // touches no variable, stack or flag: print, jumps, error lines
  Writes,    // stores a new value into variable
  Appends,   // appends text to variable's text (add to a string variable)
  Compares,  // sets the flags (a fused conditional jump is a step of its own)
  Input,     // reads a word into variable
  Pushes,    // pushes one value
  Pops,      // pops the top into variable; an empty stack stays empty
};

// A step about to be carried out.
struct ObservedStep {
  int32_t position;  // its record
  StepRole role;
  int32_t variable;  // the variable's index for the roles that name one, else -1
  // The flags as they stand: equal 1, notEqual 2, greater 4, greaterOrEqual
  // 8, less 16, lessOrEqual 32.
  uint8_t flagBits;
};

// Told of each step of a counted run (run(maxSteps), step()) before it is
// carried out, while it is set: a debugger records there what the step is
// about to change, and stops the run where it must. False stops the run
// before the step, which is then neither carried out nor counted.
class StepObserver {
 public:
  virtual ~StepObserver() = default;
  virtual bool beforeStep(const ObservedStep& step) = 0;
};

// Asked before each input instruction of a counted run (run(maxSteps),
// step()), when one is set: false
// stops the run before that record, which is then neither carried out nor
// counted (waitingForInput() tells so), so that a debugger can ask for the
// word without blocking. position is the input record.
class InputGate {
 public:
  virtual ~InputGate() = default;
  virtual bool wordReady(int32_t position) = 0;
};

class ExecutionEngine {
 public:
  // in and out are the running program's console; the engine keeps them.
  ExecutionEngine(Interpreter& program, std::istream& in, std::ostream& out);
  ~ExecutionEngine();
  ExecutionEngine(const ExecutionEngine&) = delete;
  ExecutionEngine& operator=(const ExecutionEngine&) = delete;

  // Runs until the run is over, then writes the state back and flushes out.
  void run();
  // Carries out at most maxSteps more steps; true when the run goes on.
  bool run(uint64_t maxSteps);
  // Carries out exactly one step; true when the run goes on after it. Does
  // nothing and gives false once the run is over.
  bool step();

  bool finished() const { return finished_; }
  // The record the next step carries out: never a label record. The halt
  // record once halted; code.count() once the run left the table.
  int position() const { return position_; }
  // Steps carried out so far, by every kind of run.
  uint64_t stepsTaken() const { return taken_; }

  // The variables as they stand: name, type and current value text.
  std::vector<VariableRecord> variables();
  // The stack's texts, bottom first.
  std::vector<std::string> stackTexts();
  const CompareFlags& flags() const { return program_.flags; }
  // Stores the current values and stack into the Interpreter's tables.
  void writeBack();

  // What the next step does; decodes the record at position() when it is
  // not yet.
  ObservedStep nextStep();

  // The variable of index (0 to variables().size() - 1), to read or replace.
  RunValue& value(int index) { return values_[static_cast<std::size_t>(index)]; }
  std::size_t stackDepth() const { return stack_.size(); }
  // The top of the stack, which must not be empty.
  RunValue stackTop() const;
  void pushValue(const RunValue& value);
  // Removes the top of the stack, which must not be empty.
  void dropTop();
  void setFlags(const CompareFlags& flags) { program_.flags = flags; }
  // Moves the run to position (a record that is no label record, or
  // code.count()) with taken steps counted; the run goes on from there.
  void moveTo(int32_t position, uint64_t taken);
  // The gate asked before each input; nullptr for none.
  void setInputGate(InputGate* gate) { inputGate_ = gate; }
  // The observer told of each step of a counted run; nullptr for none.
  void setStepObserver(StepObserver* observer) { observer_ = observer; }
  // The last run stopped before an input because the gate said no.
  bool waitingForInput() const { return waitingForInput_; }

 private:
  struct Step;
  struct FreeSteps {
    void operator()(Step* steps) const { std::free(steps); }
  };

  // Runs steps until the run is over or, when counted, until taken_ reaches
  // limit. Both run() and step() come here.
  template <bool kCounted>
  bool loop(uint64_t limit);
  void decode(int32_t index);
  // The step at step, as an observer is told of it.
  ObservedStep observed(const Step& step, uint8_t flags);
  // The first record at or after index that is not a label record; count_
  // when there is none or index lies outside the table.
  int32_t skipLabels(int32_t index);
  // Turns the cmp step at index into one that also carries out the
  // conditional jump after it, when there is one.
  void fuseWithJump(int32_t index);
  RunValue* variableNamed(std::string_view name);
  // The variable named by operand, else a literal holding its text.
  RunValue* sourceOf(std::string_view operand);
  const std::string* message(std::string text);
  void writeLine(const std::string& line);
  // input: the next word of the console into destination. Kept out of the
  // dispatch loop, whose indirect jumps may not leave the scope of an object
  // that needs destroying.
  void readWord(RunValue& destination);

  Interpreter& program_;
  std::istream& in_;
  std::ostream& out_;
  const int32_t count_;
  std::vector<RunValue> values_;
  std::unordered_map<std::string, int> firstByName_;
  std::deque<RunValue> literals_;
  std::unordered_map<std::string, RunValue*> literalByText_;
  std::deque<std::string> messages_;
  // count_ + 1 steps, zero-filled (undecoded) until reached; the last one
  // stands for every position outside the table.
  std::unique_ptr<Step, FreeSteps> steps_;
  // The run-time stack: packed values, and the texts they could not do
  // without, both in push order.
  std::vector<RunValue::Packed, BulkAllocator<RunValue::Packed>> stack_;
  std::vector<std::string> stackTexts_;
  std::string scratch_;
  int32_t position_ = 0;
  bool finished_ = false;
  bool waitingForInput_ = false;
  uint64_t taken_ = 0;
  InputGate* inputGate_ = nullptr;
  StepObserver* observer_ = nullptr;
};
