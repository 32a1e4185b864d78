// Makes the README's picture of debugging in the editor: the window, on
// the offscreen platform, opens a program, sets a breakpoint, runs to it
// with input typed into the dock, steps once, and is saved as a PNG.
//
//   editor_screenshot PROGRAM.tarnel BREAKPOINT_LINE INPUT OUTPUT.png
//
// BREAKPOINT_LINE is a number as the margin shows it. `make screenshots`
// runs it on examples/sum.tarnel. The settings of the run are kept in a
// folder of its own, so the user's own stay as they are.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <cstdio>

#include "debug_commands.h"
#include "debug_panel.h"
#include "file_dialog.h"
#include "form1.h"
#include "message_boxes.h"
#include "source_text_edit.h"
#include "tool_launcher.h"

namespace {

// Lets the window handle its events for a while: slices run, views are
// drawn, queued highlights are laid on.
void settle(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: editor_screenshot PROGRAM.tarnel BREAKPOINT_LINE INPUT OUTPUT.png\n");
    return 1;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tarnel_ide"));
  const QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

  QtFileDialog dialog;
  QtMessageBoxes boxes;
  QProcessLauncher launcher;
  Form1 window(QCoreApplication::applicationDirPath(), dialog, launcher, boxes);
  window.resize(900, 660);
  window.show();
  if (!window.openFile(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  auto* text = window.findChild<SourceTextEdit*>(QStringLiteral("Text1"));
  const int line = QString::fromLocal8Bit(argv[2]).toInt() - text->firstLineNumber();
  text->toggleBreakpoint(line);
  settle(200);

  DebugCommands& debug = window.debugCommands();
  debug.startOrContinue();  // to the first input, which waits
  settle(200);
  QLineEdit* input = debug.panel()->inputField();
  input->setText(QString::fromLocal8Bit(argv[3]));
  emit input->returnPressed();  // as Enter does
  settle(200);
  debug.step();
  settle(300);
  text->setFocus();
  // The caret of a text with the keys blinks; the picture shows none.
  text->setCursorWidth(0);
  settle(100);

  if (!window.grab().save(QString::fromLocal8Bit(argv[4]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[4]);
    return 1;
  }
  return 0;
}
