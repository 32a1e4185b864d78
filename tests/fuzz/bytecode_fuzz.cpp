// Fuzz target: a bytecode file through kivinterp's loader, its debug report
// and its engine, checked against the straightforward loader and engine
// kept for the tests. Both run the same bounded number of steps, in chunks,
// and must leave the same output, variables, stack, flags and position.
//
// Input: the bytes after the last NUL are the program's standard input, the
// bytes before it the bytecode file (which may itself hold NUL bytes).
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "execution_engine.h"
#include "interpreter.h"
#include "reference_engine.h"

namespace {

constexpr uint64_t kStepBound = 3000;
constexpr uint64_t kChunk = 16;
// A program may grow a text without end (a string added to itself doubles
// at each step); runs stop comparing once a value grows past this.
constexpr std::size_t kLargestValue = 1 << 16;

void require(bool holds) {
  if (!holds) std::abort();
}

bool valuesStaySmall(const std::vector<VariableRecord>& variables,
                     const std::vector<std::string>& stack) {
  std::size_t total = 0;
  for (const VariableRecord& variable : variables) total += variable.value.size();
  for (const std::string& entry : stack) total += entry.size();
  return total < kLargestValue;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string::size_type cut = bytes.rfind('\0');
  const std::string text = cut == std::string::npos ? bytes : bytes.substr(0, cut);
  const std::string input = cut == std::string::npos ? std::string() : bytes.substr(cut + 1);

  std::istringstream in(input);
  std::ostringstream out;
  Interpreter interpreter(in, out);
  interpreter.loadText(text);
  std::ostringstream report;
  interpreter.writeDebugReport(report);

  ReferenceProgram program = referenceLoad(text);
  require(interpreter.variables.size() == program.variables.size());
  require(interpreter.code.count() == static_cast<int>(program.code.size()));
  std::istringstream referenceIn(input);
  std::ostringstream referenceOut;
  ReferenceEngine reference(program, referenceIn, referenceOut);

  ExecutionEngine engine(interpreter, in, out);
  bool goesOn = true;
  while (goesOn && engine.stepsTaken() < kStepBound) {
    goesOn = engine.run(kChunk);
    require(reference.run(kChunk) == goesOn);
    const std::vector<VariableRecord> variables = engine.variables();
    const std::vector<std::string> stack = engine.stackTexts();
    require(out.str() == referenceOut.str());
    require(describeState(variables, stack, engine.flags()) ==
            describeState(program.variables, program.stack, program.flags));
    require(engine.position() == reference.position());
    require(engine.stepsTaken() == reference.stepsTaken());
    require(engine.finished() == reference.finished());
    if (!valuesStaySmall(variables, stack)) break;
  }
  return 0;
}
