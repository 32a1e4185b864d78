// The editor on a large source program, against a plain QPlainTextEdit (no
// colours, no margin, no marks) measured side by side in the same run: the
// time from Open to the text shown, a key typed at the start, the middle
// and the end of the text until it is painted, a jump to the end, and the
// peak memory. Each side runs in a process of its own, this program
// started again with --side, so that their memory is apart.
//
//   editor_bench [megabytes]     (default 5)
//
// Runs without a screen (the offscreen platform). Prints the figures, the
// editor's ratios to the plain text area, and whether the editor keeps to
// its targets: shown within 1 s, a key within 50 ms, memory under 20 times
// the file's size.
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "file_dialog.h"
#include "form1.h"
#include "live_check.h"
#include "message_boxes.h"
#include "source_text.h"
#include "tool_launcher.h"

namespace {

// A program as learners write them, repeated until it has the size asked:
// declarations, labels, instructions, strings and comments.
std::string generatedProgram(std::size_t bytes) {
  std::string text = "kiv big {\r\n\r\nvar {\r\n";
  for (int i = 0; i < 200; ++i) {
    text += "var& v" + std::to_string(i) + " := " + std::to_string(i) + "\r\n";
  }
  text += "var$ msg := \"hello\"\r\n}\r\n\r\nbegin {\r\n";
  for (long i = 0; text.size() < bytes; ++i) {
    const std::string k = std::to_string(i % 200);
    const std::string next = std::to_string((i + 1) % 200);
    text += "label" + std::to_string(i) + ":\r\n";
    text += "    mov v" + k + ",v" + next + "\r\n";
    text += "    add v" + k + ",v" + next + "\r\n";
    text += "    print \"line " + std::to_string(i) + " \" ; a comment\r\n";
    text += "    cmp v" + k + ",0\r\n";
    text += "    jg label" + std::to_string(i) + "\r\n";
  }
  text += "}\r\n}\r\n";
  return text;
}

long peakKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// The processor time the window's thread has used, in milliseconds: on a
// busy machine the wall time also counts the other programs' turns.
double threadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Counts the paint events of a widget, so that a measure ends once the
// change is on the screen, and notes when the first one came.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) {
    widget->installEventFilter(this);
    clock.start();
  }
  int count = 0;
  QElapsedTimer clock;
  double firstMs = -1;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && count++ == 0) {
      firstMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    return false;
  }
};

// Runs events until the viewport has painted once more than before.
void waitForPaint(PaintCounter& paints, int before) {
  QElapsedTimer limit;
  limit.start();
  while (paints.count <= before && limit.elapsed() < 10000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

struct Figures {
  double firstPaintMs = 0;  // Open to the first lines on the screen
  double openMs = 0;        // Open to the whole text in
  double openCpuMs = 0;     // the window thread's processor time for it
  double keyMsMax = 0;
  double keyMsMedian = 0;
  double jumpMs = 0;
  double checkMs = 0;             // the live check after the last key, editor only
  long shownKb = 0;               // the peak memory once the text is shown
  long peakKb = 0;                // the peak memory at the end
  long endKb = 0;                 // the memory in use at the end
  double keyWhileCheckingMs = 0;  // slowest key typed while a check runs
};

// Types five keys at the cursor; the slowest, until painted, in ms.
double slowestKey(QPlainTextEdit* edit, PaintCounter& paints) {
  double slowest = 0;
  QElapsedTimer clock;
  for (int i = 0; i < 5; ++i) {
    const int before = paints.count;
    clock.start();
    QTest::keyClick(edit, Qt::Key_X);
    waitForPaint(paints, before);
    slowest = std::max(slowest, static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  return slowest;
}

// One side: "editor" (the editor's window) or "plain" (a bare text area).
int runSide(const std::string& side, const QString& path) {
  QtFileDialog dialog;
  QtMessageBoxes boxes;
  QProcessLauncher launcher;
  std::unique_ptr<Form1> window;
  std::unique_ptr<QPlainTextEdit> plain;
  QPlainTextEdit* edit = nullptr;
  Figures figures;

  QElapsedTimer clock;
  clock.start();
  const double cpuStart = threadMilliseconds();
  if (side == "editor") {
    window =
        std::make_unique<Form1>(QCoreApplication::applicationDirPath(), dialog, launcher, boxes);
    edit = window->findChild<QPlainTextEdit*>("Text1");
    PaintCounter paints(edit->viewport());
    // As the program does: the window first, then the file.
    window->show();
    window->startWith(path);
    waitForPaint(paints, 0);
    figures.firstPaintMs = paints.firstMs;
  } else {
    plain = std::make_unique<QPlainTextEdit>();
    edit = plain.get();
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->resize(574, 385);
    PaintCounter paints(edit->viewport());
    edit->show();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 1;
    edit->setPlainText(textForEditor(decodeFileBytes(file.readAll()).text));
    waitForPaint(paints, 0);
    figures.firstPaintMs = paints.firstMs;
  }
  figures.openMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  figures.openCpuMs = threadMilliseconds() - cpuStart;
  figures.shownKb = peakKilobytes();

  PaintCounter paints(edit->viewport());
  std::vector<double> keys;
  const int blocks = edit->document()->blockCount();
  for (int line : {1, blocks / 2, blocks - 3}) {
    QTextCursor cursor(edit->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    QTest::qWait(50);
    for (int i = 0; i < 5; ++i) {
      const int before = paints.count;
      clock.restart();
      QTest::keyClick(edit, Qt::Key_X);
      waitForPaint(paints, before);
      keys.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
  }
  std::sort(keys.begin(), keys.end());
  figures.keyMsMax = keys.back();
  figures.keyMsMedian = keys[keys.size() / 2];

  edit->moveCursor(QTextCursor::Start);
  QTest::qWait(50);
  const int before = paints.count;
  clock.restart();
  QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
  waitForPaint(paints, before);
  figures.jumpMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

  // The check starts a moment after the last key and runs beside the
  // window: keys typed meanwhile, then the time until its marks are shown.
  clock.restart();
  QTest::qWait(LiveCheck::kDelayMilliseconds + 100);
  figures.keyWhileCheckingMs = slowestKey(edit, paints);
  if (window) {
    while (window->liveCheck().isBusy() && clock.elapsed() < 60000) QTest::qWait(20);
  }
  figures.checkMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  figures.peakKb = peakKilobytes();
  figures.endKb = residentKilobytes();
  std::printf("%.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f %ld %ld %ld\n", figures.firstPaintMs,
              figures.openMs, figures.openCpuMs, figures.keyMsMax, figures.keyMsMedian,
              figures.jumpMs, figures.keyWhileCheckingMs, figures.checkMs, figures.shownKb,
              figures.peakKb, figures.endKb);
  return 0;
}

bool measureSide(const char* self, const std::string& side, const std::string& path,
                 Figures* figures) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], 1);
    close(pipeEnds[0]);
    execl(self, self, "--side", side.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  std::string out;
  char chunk[256];
  for (ssize_t got; (got = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
    out.append(chunk, static_cast<std::size_t>(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  return std::sscanf(out.c_str(), "%lf %lf %lf %lf %lf %lf %lf %lf %ld %ld %ld",
                     &figures->firstPaintMs, &figures->openMs, &figures->openCpuMs,
                     &figures->keyMsMax, &figures->keyMsMedian, &figures->jumpMs,
                     &figures->keyWhileCheckingMs, &figures->checkMs, &figures->shownKb,
                     &figures->peakKb, &figures->endKb) == 11;
}

const char* met(bool ok) { return ok ? "met" : "MISSED"; }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 4 && std::string(argv[1]) == "--side") {
    QApplication application(argc, argv);
    return runSide(argv[2], QString::fromLocal8Bit(argv[3]));
  }
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 5.0;
  QTemporaryDir directory;
  const std::string path = directory.filePath("big.tarnel").toStdString();
  const std::string program = generatedProgram(static_cast<std::size_t>(megabytes * 1000 * 1000));
  std::ofstream(path, std::ios::binary) << program;
  const double fileKb = static_cast<double>(program.size()) / 1024.0;

  Figures editor;
  Figures plain;
  if (!measureSide("/proc/self/exe", "plain", path, &plain) ||
      !measureSide("/proc/self/exe", "editor", path, &editor)) {
    std::fprintf(stderr, "editor_bench: a side did not finish\n");
    return 1;
  }
  std::printf("source: %zu bytes, %d lines\n", program.size(),
              static_cast<int>(std::count(program.begin(), program.end(), '\n')));
  std::printf("%-28s %12s %12s %8s\n", "", "editor", "plain edit", "ratio");
  const auto row = [](const char* what, double a, double b) {
    std::printf("%-28s %12.1f %12.1f %8.2f\n", what, a, b, b > 0 ? a / b : 0.0);
  };
  row("open to first lines (ms)", editor.firstPaintMs, plain.firstPaintMs);
  row("open to whole text (ms)", editor.openMs, plain.openMs);
  row("  window thread's CPU (ms)", editor.openCpuMs, plain.openCpuMs);
  row("key, slowest of 15 (ms)", editor.keyMsMax, plain.keyMsMax);
  row("key, median (ms)", editor.keyMsMedian, plain.keyMsMedian);
  row("key during a check (ms)", editor.keyWhileCheckingMs, plain.keyWhileCheckingMs);
  row("jump to the end (ms)", editor.jumpMs, plain.jumpMs);
  row("peak memory once shown (MB)", static_cast<double>(editor.shownKb) / 1024.0,
      static_cast<double>(plain.shownKb) / 1024.0);
  row("peak memory (MB)", static_cast<double>(editor.peakKb) / 1024.0,
      static_cast<double>(plain.peakKb) / 1024.0);
  row("memory in use at the end (MB)", static_cast<double>(editor.endKb) / 1024.0,
      static_cast<double>(plain.endKb) / 1024.0);
  std::printf("live marks shown %.0f ms after the last key\n", editor.checkMs);
  const double shownTimes = static_cast<double>(editor.shownKb) / fileKb;
  const double peakTimes = static_cast<double>(editor.peakKb) / fileKb;
  const double slowestKeyMs = std::max(editor.keyMsMax, editor.keyWhileCheckingMs);
  std::printf(
      "targets: first lines within 1 s %s; whole text within 1 s of processor time %s;\n"
      "  a key within 50 ms %s; memory once shown %.1f times the file, under 20 %s;\n"
      "  peak with the live check %.1f times the file, under 20 %s\n",
      met(editor.firstPaintMs <= 1000), met(editor.openCpuMs <= 1000), met(slowestKeyMs <= 50),
      shownTimes, met(shownTimes < 20), peakTimes, met(peakTimes < 20));
  return 0;
}
