// The real message boxes and questions.
#include "message_boxes.h"

#include <QInputDialog>

void QtMessageBoxes::show(QMessageBox::Icon icon, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent_);
  box.exec();
}

QMessageBox::StandardButton QtMessageBoxes::ask(QMessageBox::Icon icon, const QString& title,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) {
  QMessageBox box(icon, title, text, buttons, parent_);
  box.setDefaultButton(defaultButton);
  if (buttons.testFlag(QMessageBox::Cancel)) box.setEscapeButton(QMessageBox::Cancel);
  const int chosen = box.exec();
  return buttons.testFlag(static_cast<QMessageBox::StandardButton>(chosen))
             ? static_cast<QMessageBox::StandardButton>(chosen)
             : QMessageBox::Cancel;
}

bool QtMessageBoxes::askNumber(const QString& title, const QString& label, int value, int minimum,
                               int maximum, int* chosen) {
  bool accepted = false;
  const int number =
      QInputDialog::getInt(parent_, title, label, value, minimum, maximum, 1, &accepted);
  if (accepted) *chosen = number;
  return accepted;
}
