// The fast loader and engine against the reference ones on generated
// programs: every opcode and some that are none, odd opcode texts, all three
// variable types, literals and variables (and near-names) as operands,
// resolved, unresolved and numeric jump targets, division by zero, 32-bit
// overflow, float carries and ties, input from a fixed text, runs that end
// by halting, by leaving the table and through the step bound. Compared:
// the whole output, the final variables, stack and flags, the position,
// whether the run is over and the steps taken. The fast engine is driven in
// one run, step by step, or in chunks of random size, in turn.
//
// The program count is bounded for CI. To run longer by hand:
//   KIV_ENGINE_DIFF_COUNT=200000 KIV_ENGINE_DIFF_SEED=5 build/tests/engine_differential_test
// A failure names the seed and the program's index and text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "execution_engine.h"
#include "interpreter.h"
#include "program_generator.h"
#include "reference_engine.h"

namespace {

long long settingOr(const char* name, long long fallback) {
  const char* text = std::getenv(name);
  return text == nullptr ? fallback : std::atoll(text);
}

struct Outcome {
  std::string output;
  bool goesOn = false;
  bool finished = false;
  int position = 0;
  uint64_t steps = 0;
  std::string state;  // variables, stack and flags
};

Outcome runReference(const std::string& text, const std::string& input, uint64_t bound) {
  ReferenceProgram program = referenceLoad(text);
  std::istringstream in(input);
  std::ostringstream out;
  ReferenceEngine engine(program, in, out);
  Outcome outcome;
  outcome.goesOn = engine.run(bound);
  outcome.output = out.str();
  outcome.finished = engine.finished();
  outcome.position = engine.position();
  outcome.steps = engine.stepsTaken();
  outcome.state = describeState(program.variables, program.stack, program.flags);
  return outcome;
}

// mode 0: one bounded run; 1: step by step; 2: chunks of random size.
Outcome runFast(const std::string& text, const std::string& input, uint64_t bound, int mode,
                ProgramGenerator& generator) {
  Interpreter interpreter;
  interpreter.loadText(text);
  std::istringstream in(input);
  std::ostringstream out;
  ExecutionEngine engine(interpreter, in, out);
  Outcome outcome;
  if (mode == 0) {
    outcome.goesOn = engine.run(bound);
  } else {
    bool goesOn = true;
    while (goesOn && engine.stepsTaken() < bound) {
      const uint64_t left = bound - engine.stepsTaken();
      const uint64_t chunk = mode == 1 ? 1 : static_cast<uint64_t>(1 + generator.below(50));
      goesOn = mode == 1 ? engine.step() : engine.run(chunk < left ? chunk : left);
    }
    outcome.goesOn = goesOn;
  }
  outcome.output = out.str();
  outcome.finished = engine.finished();
  outcome.position = engine.position();
  outcome.steps = engine.stepsTaken();
  outcome.state = describeState(engine.variables(), engine.stackTexts(), engine.flags());
  return outcome;
}

// The whole run as kivinterp makes it (Interpreter::execute does the same):
// the free run to the end, its state written back into the Interpreter.
Outcome runToTheEnd(const std::string& text, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  Interpreter interpreter(in, out);
  interpreter.loadText(text);
  ExecutionEngine engine(interpreter, in, out);
  engine.run();
  Outcome outcome;
  outcome.output = out.str();
  outcome.steps = engine.stepsTaken();
  outcome.position = engine.position();
  outcome.state = describeState(interpreter.variables, interpreter.stack.items, interpreter.flags);
  return outcome;
}

void expectSame(const Outcome& wanted, const Outcome& got, const std::string& context) {
  EXPECT_EQ(got.output, wanted.output) << context;
  EXPECT_EQ(got.state, wanted.state) << context;
  EXPECT_EQ(got.goesOn, wanted.goesOn) << context;
  EXPECT_EQ(got.finished, wanted.finished) << context;
  EXPECT_EQ(got.position, wanted.position) << context;
  EXPECT_EQ(got.steps, wanted.steps) << context;
}

TEST(EngineDifferential, GeneratedProgramsRunAsTheReferenceRunsThem) {
  const long long count = settingOr("KIV_ENGINE_DIFF_COUNT", 10000);
  const auto seed = static_cast<unsigned long long>(settingOr("KIV_ENGINE_DIFF_SEED", 1234567));
  ProgramGenerator generator(seed);
  for (long long i = 0; i < count && !::testing::Test::HasFailure(); ++i) {
    const std::string text = generator.program();
    const std::string input = generator.input();
    const uint64_t bound = static_cast<uint64_t>(1 + generator.below(400));
    const std::string context = "seed " + std::to_string(seed) + ", program " + std::to_string(i) +
                                ": " + text + "\ninput: " + input;
    const Outcome wanted = runReference(text, input, bound);
    expectSame(wanted, runFast(text, input, bound, static_cast<int>(i % 3), generator), context);
    if (wanted.finished) {
      const Outcome whole = runToTheEnd(text, input);
      EXPECT_EQ(whole.output, wanted.output) << context;
      EXPECT_EQ(whole.state, wanted.state) << context;
      EXPECT_EQ(whole.steps, wanted.steps) << context;
      EXPECT_EQ(whole.position, wanted.position) << context;
    }
  }
}

TEST(EngineDifferential, LongRunsEndThroughTheStepBound) {
  const auto seed = static_cast<unsigned long long>(settingOr("KIV_ENGINE_DIFF_SEED", 1234567));
  ProgramGenerator generator(seed);
  for (int i = 0; i < 6; ++i) {
    const std::string text = generator.longRun();
    const uint64_t bound = static_cast<uint64_t>(20000 + generator.below(5000));
    const Outcome wanted = runReference(text, "", bound);
    EXPECT_TRUE(wanted.goesOn);
    expectSame(wanted, runFast(text, "", bound, i % 3, generator), text);
  }
}

}  // namespace
