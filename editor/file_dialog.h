// cmd1, the editor's open and save file dialog, behind a small interface so
// that tests can answer it. Like a common dialog component it keeps one file
// name: the caller presets it and the folder to start in, shows the dialog,
// then reads the name back; a cancelled dialog leaves the name as it was.
#pragma once

#include <QPointer>
#include <QString>

class QWidget;

class FileDialog {
 public:
  virtual ~FileDialog() = default;
  virtual void setFileName(const QString& name) = 0;
  virtual QString fileName() const = 0;
  virtual void setDirectory(const QString& folder) = 0;
  // Each waits until the user has chosen a file or cancelled.
  virtual void showOpen() = 0;
  virtual void showSave() = 0;
};

// The real dialog: a modal QFileDialog over the parent window, filtering on
// source files first, that asks before replacing an existing file. A name
// typed without an extension gets ".tarnel" before that question is asked.
class QtFileDialog : public FileDialog {
 public:
  void setParentWindow(QWidget* parent) { parent_ = parent; }
  void setFileName(const QString& name) override { fileName_ = name; }
  QString fileName() const override { return fileName_; }
  void setDirectory(const QString& folder) override { directory_ = folder; }
  void showOpen() override;
  void showSave() override;

 private:
  void show(bool save);

  QPointer<QWidget> parent_;
  QString fileName_;
  QString directory_;
};
