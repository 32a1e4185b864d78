// The kivdebug driver; see kivdebug_driver.h.
#include "kivdebug_driver.h"

#include <signal.h>

#include <iostream>
#include <memory>

#include "batch_run.h"
#include "console_session.h"
#include "input_file.h"
#include "kivdebug_options.h"
#include "line_source.h"
#include "program_console.h"
#include "program_file.h"

namespace {

constexpr int kFailedStatus = 1;

void askForInterrupt(int) { interruptRequested = 1; }

// While it lives, an interrupt from the terminal stops the run between two
// records instead of ending the session.
class InterruptCatcher {
 public:
  InterruptCatcher() {
    struct sigaction action {};
    action.sa_handler = askForInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptCatcher() { sigaction(SIGINT, &previous_, nullptr); }
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;

 private:
  struct sigaction previous_ {};
};

bool readProgramInput(const std::string& path, std::string& text, std::ostream& out) {
  InputFile file = readInputFile(path);
  switch (file.status) {
    case InputStatus::Read:
      text.swap(file.text);
      return true;
    case InputStatus::NotFound:
      if (isDirectory(path)) {
        out << "kivdebug: the input file " << path << " is a directory" << '\n';
      } else {
        out << "kivdebug: cannot read the input file " << path << ": " << file.reason << '\n';
      }
      break;
    case InputStatus::TooLarge:
      out << "kivdebug: the input file " << path << " is too large (" << kMaxInputFileText
          << " or more)" << '\n';
      break;
    case InputStatus::ReadFailed:
      if (isDirectory(path)) {
        out << "kivdebug: the input file " << path << " is a directory" << '\n';
      } else {
        out << "kivdebug: cannot read the input file " << path << ": " << file.reason << '\n';
      }
      break;
  }
  out.flush();
  return false;
}

}  // namespace

int runKivdebug(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, const KivdebugConsole& console) {
  KivdebugOptions options;
  std::string problem;
  if (!parseKivdebugOptions(args, options, problem)) {
    err << problem << '\n' << kKivdebugUsage << '\n' << std::flush;
    return kFailedStatus;
  }
  if (options.help) {
    out << kKivdebugUsage << '\n'
        << "Runs a Tarnel program record by record: without --run, --trace or --max-steps\n"
           "it reads commands (\"help\" lists them); with them it runs to the end.\n"
        << std::flush;
    return 0;
  }

  DebugProgram program;
  bool errorsCounted = false;
  if (!loadProgramFile(options.program, program, err, errorsCounted)) return kFailedStatus;
  std::string inputText;
  if (options.hasInput && !readProgramInput(options.inputPath, inputText, err)) {
    return kFailedStatus;
  }

  if (options.batch()) {
    BatchOptions batch;
    batch.trace = options.trace;
    batch.limited = options.limited;
    batch.maxSteps = options.maxSteps;
    batch.sharedConsole = console.sharedOutput;
    int status = kEndedStatus;
    if (options.hasInput) {
      NoMoreInput none;
      status = runBatch(program, batch, inputText, none, out, err);
    } else if (!console.terminal) {
      StreamInput lines(in);
      status = runBatch(program, batch, inputText, lines, out, err);
    } else {
      // At a terminal the program's input is asked for on standard error, so
      // that standard output holds only what the program writes.
      TerminalLines terminal(true);
      PromptedLines prompted(terminal, [&out] { out.flush(); });
      status = runBatch(program, batch, inputText, prompted, out, err);
    }
    // As tarnel, a run after counted errors (an unknown instruction left
    // out) fails, unless the step limit stopped it.
    return status == kEndedStatus && errorsCounted ? kFailedStatus : status;
  }

  std::unique_ptr<LineSource> lines;
  std::unique_ptr<InterruptCatcher> interrupts;
  if (console.terminal) {
    lines = std::make_unique<TerminalLines>();
    interrupts = std::make_unique<InterruptCatcher>();
  } else {
    lines = std::make_unique<EchoedLines>(in, out);
  }
  ConsoleOptions consoleOptions;
  consoleOptions.inputText = options.hasInput ? &inputText : nullptr;
  consoleOptions.sharedConsole = console.sharedOutput;
  ConsoleSession session(std::move(program), *lines, out, err, consoleOptions);
  session.run();
  return 0;
}
