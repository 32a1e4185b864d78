// Batch runs; see batch_run.h.
#include "batch_run.h"

#include <ostream>
#include <string>
#include <vector>

#include "escapes.h"
#include "execution_engine.h"
#include "interpreter.h"
#include "program_map.h"
#include "step_effect.h"

namespace {

// Carries out one record and writes its trace line.
void tracedStep(ExecutionEngine& engine, const Interpreter& interpreter, const ProgramMap& map,
                std::ostream& out, std::ostream& trace) {
  const int position = engine.position();
  const bool stackWasEmpty = engine.stackDepth() == 0;
  engine.step();
  if (position >= map.count()) return;
  const CodeRecordView record = interpreter.code.view(position);
  StepState state;
  const int destination = interpreter.findVariable(std::string(record.operand1));
  state.hasDestination = destination >= 0;
  if (state.hasDestination) {
    const VariableRecord& variable = interpreter.variables[static_cast<std::size_t>(destination)];
    state.destinationValue =
        shownValue(expandEscapes(engine.value(destination).text()), variable.type);
  }
  state.stackWasEmpty = stackWasEmpty;
  const std::vector<std::string> stack = engine.stackTexts();
  if (!stack.empty()) state.pushedValue = shownValue(expandEscapes(stack.back()));
  state.flags = engine.flags();
  state.positionAfterText = "#" + std::to_string(engine.position());
  std::string line = map.describe(position);
  const std::string effect = stepEffect(record, map.record(position).opcode, state);
  if (!effect.empty()) line += " => " + effect;
  line += '\n';
  out.flush();
  trace << line << std::flush;
}

}  // namespace

int runBatch(const DebugProgram& program, const BatchOptions& options, std::istream& in,
             std::ostream& out, std::ostream& trace) {
  Interpreter interpreter(in, out);
  interpreter.loadText(program.bytecode);
  ExecutionEngine engine(interpreter, in, out);
  if (!options.trace && !options.limited) {
    engine.run();
    return kEndedStatus;
  }
  if (options.trace) {
    const ProgramMap map(interpreter.code, program);
    while (!engine.finished() && (!options.limited || engine.stepsTaken() < options.maxSteps)) {
      tracedStep(engine, interpreter, map, out, trace);
    }
  } else {
    engine.run(options.maxSteps);
  }
  out.flush();
  if (engine.finished()) return kEndedStatus;
  // The limit was reached; a run that ends at the very next record without
  // carrying it out (the end of the table) still ended by itself.
  if (engine.position() >= interpreter.code.count()) {
    engine.step();
    if (engine.finished()) return kEndedStatus;
  }
  const ProgramMap map(interpreter.code, program);
  trace << "kivdebug: --max-steps " << options.maxSteps << " stopped the program after "
        << engine.stepsTaken() << (engine.stepsTaken() == 1 ? " step" : " steps") << ", before "
        << map.describe(engine.position()) << '\n'
        << std::flush;
  return kStepLimitStatus;
}
