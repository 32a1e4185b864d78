// The editor's message boxes and questions behind a small interface, so
// that tests record what would be shown and answer from a script instead
// of waiting for a click.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>

class QWidget;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A box with one OK button; waits until the user has closed it.
  virtual void show(QMessageBox::Icon icon, const QString& title, const QString& text) = 0;
  // A question with the given buttons; the button the user chose, or
  // QMessageBox::Cancel when the box was closed otherwise (Esc included).
  virtual QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& title,
                                          const QString& text, QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton) = 0;
  // Asks for a whole number from minimum to maximum, offering value; false
  // when the user cancelled.
  virtual bool askNumber(const QString& title, const QString& label, int value, int minimum,
                         int maximum, int* chosen) = 0;
};

class QtMessageBoxes : public MessageBoxes {
 public:
  void setParentWindow(QWidget* parent) { parent_ = parent; }
  void show(QMessageBox::Icon icon, const QString& title, const QString& text) override;
  QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& title, const QString& text,
                                  QMessageBox::StandardButtons buttons,
                                  QMessageBox::StandardButton defaultButton) override;
  bool askNumber(const QString& title, const QString& label, int value, int minimum, int maximum,
                 int* chosen) override;

 private:
  QPointer<QWidget> parent_;
};
