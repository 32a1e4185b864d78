// The real message boxes.
#include "message_boxes.h"

void QtMessageBoxes::show(QMessageBox::Icon icon, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent_);
  box.exec();
}
