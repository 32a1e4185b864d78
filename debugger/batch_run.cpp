// Batch runs; see batch_run.h.
#include "batch_run.h"

#include <ostream>
#include <string>
#include <vector>

#include "debug_session.h"

namespace {

// Steps a slice carries out between two looks at the output.
constexpr uint64_t kSlice = 1 << 16;

class BatchRun {
 public:
  BatchRun(const DebugProgram& program, const BatchOptions& options, ProgramInput& input,
           std::ostream& out, std::ostream& err)
      : session_(program, noHistory()),
        options_(options),
        input_(input),
        tracked_(out.rdbuf()),
        out_(&tracked_),
        err_(err) {}

  int run(const std::string& inputText) {
    if (!inputText.empty()) session_.feedInput(inputText);
    if (options_.trace) {
      while (!session_.ended() &&
             (!options_.limited || session_.stepsTaken() < options_.maxSteps || session_.atEnd())) {
        const int position = session_.position();
        session_.startStep();
        drive(1);
        std::string line = session_.map().describe(position);
        const std::string effect = session_.lastStepEffect();
        if (!effect.empty()) line += " => " + effect;
        say() << line << '\n' << std::flush;
      }
    } else if (options_.limited) {
      if (options_.maxSteps > session_.stepsTaken()) {
        session_.startStep(options_.maxSteps);
        drive(kSlice);
      }
      // The halt after the last instruction allowed is no step of its own.
      if (!session_.ended() && session_.atEnd()) {
        session_.startStep();
        drive(1);
      }
    } else {
      session_.startContinue();
      drive(kSlice);
    }
    out_.flush();
    if (session_.ended()) return kEndedStatus;
    const uint64_t steps = session_.stepsTaken();
    say() << "kivdebug: --max-steps " << options_.maxSteps << " stopped the program after " << steps
          << (steps == 1 ? " step" : " steps") << ", before "
          << session_.map().describe(session_.position()) << '\n'
          << std::flush;
    return kStepLimitStatus;
  }

 private:
  static DebugSessionOptions noHistory() {
    DebugSessionOptions options;
    options.historySteps = 0;
    return options;
  }

  // err, on a line of its own when it shares the console with the
  // program's unended output.
  std::ostream& say() {
    out_.flush();
    if (options_.sharedConsole && tracked_.midLine()) {
      err_ << '\n';
      tracked_.lineEnded();
    }
    return err_;
  }

  void drain() {
    const std::string text = session_.takeOutput();
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    for (const std::string& note : session_.takeNotes()) say() << note << '\n' << std::flush;
  }

  // Advances the goal to its end, feeding input as the program waits.
  void drive(uint64_t slice) {
    for (;;) {
      const StopReason reason = session_.advance(slice);
      drain();
      if (reason == StopReason::BudgetUsed) continue;
      if (reason != StopReason::WaitingForInput) return;
      out_.flush();
      std::string text;
      switch (input_.more(text)) {
        case ProgramInput::Result::Text:
          session_.feedInput(text);
          break;
        case ProgramInput::Result::End:
          session_.endInput();
          break;
        case ProgramInput::Result::Interrupted:
          break;
      }
    }
  }

  DebugSession session_;
  const BatchOptions& options_;
  ProgramInput& input_;
  LineTrackingOutput tracked_;
  std::ostream out_;
  std::ostream& err_;
};

}  // namespace

int runBatch(const DebugProgram& program, const BatchOptions& options, const std::string& inputText,
             ProgramInput& input, std::ostream& out, std::ostream& err) {
  BatchRun run(program, options, input, out, err);
  return run.run(inputText);
}
