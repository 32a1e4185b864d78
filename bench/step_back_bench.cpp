// The cost of recording each step for stepping back, against plain single
// steps of the engine, side by side in the same run: the benchmark programs
// under bench/programs/ stepped one record at a time by the engine alone,
// then driven by a debugging session that records every step, in slices of
// 5000 as an editor drives it. Prints the median processor time per step of several
// runs of each, the ratio (held to at most 2), the history's bytes per step
// and whether the target is met. Then the time to undo every recorded step.
//
//   step_back_bench [runs]      (default 5; BENCH_RUNS sets it too)
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "debug_session.h"
#include "execution_engine.h"
#include "interpreter.h"

namespace {

const std::string kSourceDir = KIV_BENCH_SOURCE_DIR;
// Steps of each run: within the history's bound, so none is dropped.
constexpr uint64_t kSteps = 1000000;
constexpr uint64_t kSlice = 5000;

// Processor time of this thread: other programs on a shared machine do not
// count, as they do in wall time.
struct Clock {
  using time_point = double;
  static double now() {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
  }
};

double seconds(Clock::time_point since) { return Clock::now() - since; }

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool readFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  text = bytes.str();
  return true;
}

// kSteps single steps of the engine alone.
double plainSteps(const DebugProgram& program) {
  std::istringstream in;
  std::ostringstream out;
  Interpreter interpreter(in, out);
  interpreter.loadText(program.bytecode);
  ExecutionEngine engine(interpreter, in, out);
  const Clock::time_point start = Clock::now();
  for (uint64_t i = 0; i < kSteps && engine.step(); ++i) {
  }
  return seconds(start);
}

struct Recorded {
  double forward = 0;  // seconds for kSteps recorded steps
  double back = 0;     // seconds to undo them all
  double bytesPerStep = 0;
};

// kSteps recorded steps, in a session that ran as far once before: the
// history's memory is touched the first time it is used (a one-time cost
// of a session, which the cold figure shows), not at every step.
Recorded recordedSteps(const DebugProgram& program, double& cold) {
  DebugSession session(program);
  Recorded result;
  Clock::time_point start = Clock::now();
  session.startStep(kSteps);
  while (session.advance(kSlice) == StopReason::BudgetUsed) {
  }
  cold = seconds(start);
  session.restart();
  start = Clock::now();
  session.startStep(kSteps);
  while (session.advance(kSlice) == StopReason::BudgetUsed) {
  }
  result.forward = seconds(start);
  result.bytesPerStep =
      static_cast<double>(session.historyBytes()) / static_cast<double>(session.undoableSteps());
  start = Clock::now();
  session.startReverseContinue();
  while (session.advance(kSlice) == StopReason::BudgetUsed) {
  }
  result.back = seconds(start);
  if (session.stepsTaken() != 0) std::printf("  (stepping back stopped early)\n");
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  if (const char* setting = std::getenv("BENCH_RUNS")) runs = std::max(1, std::atoi(setting));
  if (argc > 1) runs = std::max(1, std::atoi(argv[1]));
  const char* names[] = {"integer_loop", "float_loop", "print_loop", "stack_loop"};
  std::printf("median of %d runs of %llu steps, side by side\n\n", runs,
              static_cast<unsigned long long>(kSteps));
  std::printf("%-14s %10s %12s %8s %10s %10s %10s\n", "program", "plain ns", "recorded ns", "ratio",
              "cold ns", "bytes/step", "undo ns");
  bool met = true;
  double worst = 0;
  for (const char* name : names) {
    std::string source;
    if (!readFile(kSourceDir + "/programs/" + name + ".tarnel", source)) {
      std::printf("%s: cannot read the program\n", name);
      return 1;
    }
    DebugProgram program;
    std::vector<std::string> messages;
    if (!assembleProgram(name, source, program, messages)) {
      std::printf("%s: does not assemble\n", name);
      return 1;
    }
    std::vector<double> plain, forward, back, colds;
    double bytes = 0;
    for (int run = 0; run < runs; ++run) {
      plain.push_back(plainSteps(program));
      double cold = 0;
      const Recorded recorded = recordedSteps(program, cold);
      colds.push_back(cold);
      forward.push_back(recorded.forward);
      back.push_back(recorded.back);
      bytes = recorded.bytesPerStep;
    }
    const double perStep = 1e9 / static_cast<double>(kSteps);
    const double ratio = median(forward) / median(plain);
    worst = std::max(worst, ratio);
    met = met && ratio <= 2.0;
    std::printf("%-14s %10.1f %12.1f %8.2f %10.1f %10.1f %10.1f\n", name, median(plain) * perStep,
                median(forward) * perStep, ratio, median(colds) * perStep, bytes,
                median(back) * perStep);
  }
  std::printf("\ntarget\nstepping with history: at most 2x a plain step, worst %.2fx: %s\n", worst,
              met ? "met" : "NOT met");
  return 0;
}
