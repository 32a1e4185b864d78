// Stepping back against running straight, on generated programs: N steps
// forward, M back and M forward again must leave variables, stack, flags,
// position, steps, output and the input queue exactly as N steps straight
// do; and N steps straight must leave what the engine leaves on its own.
// Goals go in slices of random size; some histories are kept so short that
// they drop steps and wrap around.
//
// The program count is bounded for CI. To run longer by hand:
//   KIV_STEPBACK_DIFF_COUNT=100000 KIV_STEPBACK_DIFF_SEED=5 build/tests/step_back_differential_test
// A failure names the seed and the program's index and text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "debug_session.h"
#include "execution_engine.h"
#include "interpreter.h"
#include "program_generator.h"

namespace {

long long settingOr(const char* name, long long fallback) {
  const char* text = std::getenv(name);
  return text == nullptr ? fallback : std::atoll(text);
}

std::string flagsText(const CompareFlags& f) {
  return std::string(f.equal ? "e" : "-") + (f.notEqual ? "n" : "-") + (f.greater ? "g" : "-") +
         (f.greaterOrEqual ? "G" : "-") + (f.less ? "l" : "-") + (f.lessOrEqual ? "L" : "-");
}

// Everything a front end can see of the run.
std::string stateOf(DebugSession& session) {
  std::string text = "position " + std::to_string(session.position()) + ", steps " +
                     std::to_string(session.stepsTaken()) + (session.ended() ? ", ended" : "") +
                     ", flags " + flagsText(session.flags()) + "\nvariables:";
  for (const VariableView& v : session.variables()) {
    text += " " + v.name + std::to_string(v.type) + "=[" + v.stored + "]";
  }
  text += "\nstack:";
  for (const std::string& entry : session.storedStack()) text += " [" + entry + "]";
  text += "\noutput " + std::to_string(session.outputLength()) + ": [" + session.takeOutput() +
          "]\ninput left: [" + session.pendingInput() + "]\n";
  return text;
}

void drive(DebugSession& session, ProgramGenerator& generator) {
  StopReason reason;
  do {
    reason = session.advance(static_cast<uint64_t>(1 + generator.below(40)));
  } while (reason == StopReason::BudgetUsed);
  ASSERT_NE(reason, StopReason::WaitingForInput);
}

DebugSession* makeSession(const std::string& text, const std::string& input, uint64_t history) {
  DebugSessionOptions options;
  options.historySteps = history;
  auto* session = new DebugSession(bytecodeProgram("g.kiv", text), options);
  session->feedInput(input);
  session->endInput();
  return session;
}

// The engine alone, as many engine steps as the session took (its halt
// included).
std::string engineState(const std::string& text, const std::string& input, uint64_t steps) {
  Interpreter interpreter;
  interpreter.loadText(text);
  std::istringstream in(input);
  std::ostringstream out;
  ExecutionEngine engine(interpreter, in, out);
  engine.run(steps);
  if (!engine.finished() && engine.position() >= interpreter.code.count()) engine.step();
  std::string state = "position " + std::to_string(engine.position()) +
                      (engine.finished() ? ", ended" : "") + ", flags " +
                      flagsText(engine.flags()) + "\nvariables:";
  const std::vector<VariableRecord> variables = engine.variables();
  for (std::size_t i = 0; i < variables.size(); ++i) {
    // The session leaves out the closing entry.
    if (i + 1 == variables.size() && variables[i].name == "con0") break;
    state += " " + variables[i].name + std::to_string(variables[i].type) + "=[" +
             variables[i].value + "]";
  }
  state += "\nstack:";
  const std::vector<std::string> stack = engine.stackTexts();
  for (auto entry = stack.rbegin(); entry != stack.rend(); ++entry) state += " [" + *entry + "]";
  return state + "\noutput: [" + out.str() + "]\n";
}

// stateOf without the steps and the input left, which the engine alone
// does not tell, in engineState's form.
std::string comparable(const std::string& state) {
  std::string text = state;
  const std::size_t steps = text.find(", steps ");
  text.erase(steps, text.find_first_of(",\n", steps + 1) - steps);
  const std::size_t output = text.find("\noutput ");
  text.erase(output + 7, text.find(':', output) - output - 7);
  return text.substr(0, text.find("input left:"));
}

TEST(StepBackDifferential, BackAndForthAgainEqualsStraight) {
  const long long count = settingOr("KIV_STEPBACK_DIFF_COUNT", 3000);
  const auto seed = static_cast<unsigned long long>(settingOr("KIV_STEPBACK_DIFF_SEED", 2024));
  ProgramGenerator generator(seed);
  for (long long i = 0; i < count && !::testing::Test::HasFailure(); ++i) {
    const bool longRun = i % 50 == 49;
    const std::string text = longRun ? generator.longRun() : generator.program();
    const std::string input = generator.input();
    const uint64_t forward = static_cast<uint64_t>(1 + generator.below(longRun ? 5000 : 300));
    const uint64_t back = static_cast<uint64_t>(generator.below(static_cast<int>(forward) + 1));
    // Room for every step of the run, or so little that steps are dropped
    // and the ring wraps.
    const uint64_t history = generator.below(4) == 0 ? 1 + generator.below(60) : 8192;
    const std::string context = "seed " + std::to_string(seed) + ", program " + std::to_string(i) +
                                ": " + text + "\ninput: " + input + "\nforward " +
                                std::to_string(forward) + ", back " + std::to_string(back) +
                                ", history " + std::to_string(history);

    std::unique_ptr<DebugSession> straight(makeSession(text, input, history));
    straight->startStep(forward);
    drive(*straight, generator);
    const uint64_t steps = straight->stepsTaken();
    const bool ended = straight->ended();
    const bool halted = ended && straight->position() < straight->map().count();
    const std::string wanted = stateOf(*straight);

    std::unique_ptr<DebugSession> again(makeSession(text, input, history));
    again->startStep(forward);
    drive(*again, generator);
    if (back > 0) {
      again->startStepBack(back);
      drive(*again, generator);
    }
    // Forward again to where the straight run stands, the halt included.
    if (again->stepsTaken() < steps) {
      again->startStep(steps - again->stepsTaken());
      drive(*again, generator);
    }
    if (ended && !again->ended()) {
      again->startStep();
      drive(*again, generator);
    }
    EXPECT_EQ(stateOf(*again), wanted) << context;
    EXPECT_EQ(comparable(wanted), engineState(text, input, steps + (halted ? 1 : 0))) << context;
  }
}

}  // namespace
