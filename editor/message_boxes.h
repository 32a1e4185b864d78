// The editor's message boxes behind a small interface, so that tests record
// what would be shown instead of waiting for a click. Every box has one OK
// button.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>

class QWidget;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Waits until the user has closed the box.
  virtual void show(QMessageBox::Icon icon, const QString& title, const QString& text) = 0;
};

class QtMessageBoxes : public MessageBoxes {
 public:
  void setParentWindow(QWidget* parent) { parent_ = parent; }
  void show(QMessageBox::Icon icon, const QString& title, const QString& text) override;

 private:
  QPointer<QWidget> parent_;
};
