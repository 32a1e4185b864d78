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
    QString preset;     // the file name when the dialog came up
    QString directory;  // the folder it started in
  };

  // The next dialog returns path as its file name. Without an answer left,
  // a dialog is cancelled: the file name stays as preset.
  void answer(const QString& path) { answers_.push_back(path); }

  void setFileName(const QString& name) override { fileName_ = name; }
  QString fileName() const override { return fileName_; }
  void setDirectory(const QString& folder) override { directory_ = folder; }
  void showOpen() override { show(false); }
  void showSave() override { show(true); }

  std::vector<Shown> shown;

 private:
  void show(bool save) {
    shown.push_back({save, fileName_, directory_});
    if (answers_.empty()) return;
    fileName_ = answers_.front();
    answers_.pop_front();
  }

  std::deque<QString> answers_;
  QString fileName_;
  QString directory_;
};

class RecordingLauncher : public ProgramLauncher {
 public:
  // Programs named here fail to start with the reason "not found".
  QStringList missing;
  // Folders that cannot take new files; every other one can.
  QStringList readOnly;
  std::vector<Launch> starts;

  LaunchResult startDetached(const Launch& launch) override {
    starts.push_back(launch);
    LaunchResult result;
    result.started = !missing.contains(launch.program);
    if (!result.started) result.reason = QStringLiteral("not found");
    return result;
  }
  bool canWriteIn(const QString& directory) override { return !readOnly.contains(directory); }
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
