// Debugging in the editor's window: how soon Pause takes hold while a
// program loops for ever, and what running a program slice by slice from
// the window's event loop costs against the debugging core driven in a
// plain loop, side by side in the same run.
//
//   editor_debug_bench [runs]      (default 5; BENCH_RUNS sets it too)
//
// Pause: an endless loop (one that prints and one that does not) runs in
// the window; a timer due at a chosen moment stands for the learner's
// click, and the time from that moment to the run standing still is
// measured, 20 times for each program. Runs: the benchmark programs under
// bench/programs/ run to their end by Start or Continue in the window, and
// by the same session in a loop of advance() calls; the median wall time
// of each and their ratio. Runs without a screen (the offscreen platform).
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "debug_commands.h"
#include "debug_session.h"
#include "file_dialog.h"
#include "form1.h"
#include "message_boxes.h"
#include "tool_launcher.h"

namespace {

const std::string kSourceDir = KIV_BENCH_SOURCE_DIR;
// The target: Pause takes hold within 0.2 s.
constexpr double kPauseTargetMs = 200;
constexpr int kPauseTrials = 20;

const char kEndlessLoop[] =
    "kiv loop {\nvar {\nvar& i\n}\nbegin {\ntop:\n    inc i\n    jmp top\n}\n}\n";
const char kEndlessPrint[] =
    "kiv loop {\nvar {\nvar& i\n}\nbegin {\ntop:\n    inc i\n    print i\n    print \"\\n\"\n"
    "    jmp top\n}\n}\n";

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

struct Window {
  QtFileDialog dialog;
  QtMessageBoxes boxes;
  QProcessLauncher launcher;
  std::unique_ptr<Form1> form;

  Window() {
    form = std::make_unique<Form1>(QCoreApplication::applicationDirPath(), dialog, launcher, boxes);
    form->show();
  }
  DebugController& controller() { return form->debugCommands().controller(); }
  void trigger(const char* name) { form->findChild<QAction*>(name)->trigger(); }
  void stop() { trigger("Stop"); }
};

// Runs the window's event loop, as the editor's own does, until the run
// stops in the given phase (or a minute has passed).
void runEventsUntil(Window& window, DebugController::Phase phase) {
  if (window.controller().phase() == phase) return;
  QEventLoop loop;
  QObject::connect(&window.controller(), &DebugController::stopped, &loop, [&] {
    if (window.controller().phase() == phase) loop.quit();
  });
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  loop.exec();
}

// Milliseconds from the moment a click on Pause is due to the run
// standing still, the run having gone on for a while before.
std::vector<double> pauseLatencies(Window& window, const char* program) {
  std::vector<double> latencies;
  window.form->setText(QString::fromLatin1(program));
  for (int trial = 0; trial < kPauseTrials; ++trial) {
    window.trigger("StartOrContinue");
    QElapsedTimer clock;
    const int due = 150 + 7 * trial;  // not in step with the slices
    double latency = -1;
    QTimer::singleShot(due, Qt::PreciseTimer, [&] {
      window.trigger("Pause");
      if (window.controller().phase() == DebugController::Phase::Stopped) {
        latency = static_cast<double>(clock.nsecsElapsed()) / 1e6 - due;
      }
    });
    clock.start();
    runEventsUntil(window, DebugController::Phase::Stopped);
    latencies.push_back(latency < 0 ? 60000 : latency);
  }
  window.stop();
  return latencies;
}

// Seconds for a run to the end in the window.
double windowRun(Window& window, const std::string& source) {
  window.form->setText(QString::fromStdString(source));
  QElapsedTimer clock;
  clock.start();
  window.trigger("StartOrContinue");
  runEventsUntil(window, DebugController::Phase::Ended);
  const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  window.stop();
  return seconds;
}

// Seconds for the same run by the core in a plain loop.
double plainRun(const std::string& source) {
  DebugProgram program;
  std::vector<std::string> messages;
  if (!assembleProgram("bench.tarnel", source, program, messages)) return -1;
  QElapsedTimer clock;
  clock.start();
  DebugSession session(std::move(program));
  session.startContinue();
  while (session.advance(DebugController::kSliceSteps) == StopReason::BudgetUsed) {
    session.takeOutput();
  }
  session.takeOutput();
  return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int runs = 5;
  if (const char* env = std::getenv("BENCH_RUNS")) runs = std::max(1, std::atoi(env));
  if (argc > 1) runs = std::max(1, std::atoi(argv[1]));
  QApplication application(argc, argv);
  Window window;

  bool met = true;
  std::printf("Pause in an endless loop, %d times each (target: at most %.0f ms)\n", kPauseTrials,
              kPauseTargetMs);
  for (const auto& [name, program] : {std::pair{"loop without output", kEndlessLoop},
                                      std::pair{"loop that prints", kEndlessPrint}}) {
    const std::vector<double> latencies = pauseLatencies(window, program);
    const double slowest = *std::max_element(latencies.begin(), latencies.end());
    met = met && slowest <= kPauseTargetMs;
    std::printf("  %-20s median %6.1f ms, slowest %6.1f ms\n", name, median(latencies), slowest);
  }

  std::printf("Runs to the end, median of %d: the window's slices against a plain loop\n", runs);
  for (const char* name : {"integer_loop", "print_loop", "stack_loop"}) {
    std::string source;
    if (!readFile(kSourceDir + "/programs/" + name + ".tarnel", source)) {
      std::fprintf(stderr, "cannot read %s\n", name);
      return 1;
    }
    std::vector<double> inWindow;
    std::vector<double> plain;
    for (int run = 0; run < runs; ++run) {
      inWindow.push_back(windowRun(window, source));
      plain.push_back(plainRun(source));
    }
    std::printf("  %-13s window %6.3f s, plain loop %6.3f s, ratio %.2f\n", name, median(inWindow),
                median(plain), median(inWindow) / median(plain));
  }
  std::printf("%s\n", met ? "Pause: target met" : "Pause: TARGET MISSED");
  return 0;
}
