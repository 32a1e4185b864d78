// Test stand-ins for the editor's dialog, launcher and message boxes: each
// records what the editor asked of it, the dialog answers from a script.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <utility>
#include <vector>

#include "file_dialog.h"
#include "message_boxes.h"
#include "tool_launcher.h"

class ScriptedFileDialog : public FileDialog {
 public:
  struct Shown {
    bool save;
    QString preset;  // the file name when the dialog came up
  };

  // The next dialog returns path as its file name. Without an answer left,
  // a dialog is cancelled: the file name stays as preset.
  void answer(const QString& path) { answers_.push_back(path); }

  void setFileName(const QString& name) override { fileName_ = name; }
  QString fileName() const override { return fileName_; }
  void showOpen() override { show(false); }
  void showSave() override { show(true); }

  std::vector<Shown> shown;

 private:
  void show(bool save) {
    shown.push_back({save, fileName_});
    if (answers_.empty()) return;
    fileName_ = answers_.front();
    answers_.pop_front();
  }

  std::deque<QString> answers_;
  QString fileName_;
};

class RecordingLauncher : public ProgramLauncher {
 public:
  struct Start {
    QString program;
    QStringList arguments;
  };

  // Programs named here fail to start with the reason "not found".
  QStringList missing;
  std::vector<Start> starts;

  LaunchResult startDetached(const QString& program, const QStringList& arguments) override {
    starts.push_back({program, arguments});
    LaunchResult result;
    result.started = !missing.contains(program);
    if (!result.started) result.reason = QStringLiteral("not found");
    return result;
  }
};

class RecordingBoxes : public MessageBoxes {
 public:
  struct Box {
    QMessageBox::Icon icon;
    QString title;
    QString text;
  };

  std::vector<Box> boxes;

  void show(QMessageBox::Icon icon, const QString& title, const QString& text) override {
    boxes.push_back({icon, title, text});
  }
};
