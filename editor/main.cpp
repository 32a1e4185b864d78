// tarnel_ide: the window editor for source programs.
//
//   tarnel_ide [FILE.tarnel]
//
// Without an argument the editor starts untitled; with one it opens that
// file as the Open command does, or starts a new document that Save
// writes there when there is no such file yet.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "command_line.h"
#include "file_dialog.h"
#include "form1.h"
#include "message_boxes.h"
#include "program_about.h"
#include "tool_launcher.h"

namespace {
const ProgramAbout kAbout{
    "tarnel_ide",
    "[FILE.tarnel]",
    "The window editor for Tarnel programs: opens FILE.tarnel, or starts with an\n"
    "untitled program, and runs tarnel or tarnel_perl on it in a terminal.\n",
    {}};
}  // namespace

int main(int argc, char** argv) {
  // Answered on the console before any window or display connection exists.
  int about = 0;
  if (answerAboutQuestionOnConsole(argc, argv, kAbout, about)) return about;
  QApplication application(argc, argv);
  const EditorCommandLine commandLine =
      parseEditorCommandLine(QCoreApplication::arguments(), QDir::currentPath());
  if (!commandLine.valid) {
    std::fprintf(stderr, "%s\n", qPrintable(commandLine.error));
    return 1;
  }
  QtFileDialog cmd1;
  QtMessageBoxes boxes;
  QProcessLauncher launcher;
  Form1 window(QCoreApplication::applicationDirPath(), cmd1, launcher, boxes);
  cmd1.setParentWindow(&window);
  boxes.setParentWindow(&window);
  window.show();
  if (!commandLine.file.isEmpty()) window.startWith(commandLine.file);
  return application.exec();
}
