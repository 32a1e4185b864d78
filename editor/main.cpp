// tarnel_ide: the window editor for source programs. Takes no arguments.
#include <QApplication>

#include "file_dialog.h"
#include "form1.h"
#include "message_boxes.h"
#include "tool_launcher.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QtFileDialog cmd1;
  QtMessageBoxes boxes;
  QProcessLauncher launcher;
  Form1 window(QCoreApplication::applicationDirPath(), cmd1, launcher, boxes);
  cmd1.setParentWindow(&window);
  boxes.setParentWindow(&window);
  window.show();
  return application.exec();
}
