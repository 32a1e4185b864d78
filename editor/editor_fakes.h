// Test stand-ins for the editor's dialog, launcher and message boxes: each
// records what the editor asked of it; the dialog and the questions answer
// from a script.
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
  // Folders of installed programs; every other one is a build tree's.
  QStringList installed;
  std::vector<Launch> starts;

  LaunchResult startDetached(const Launch& launch) override {
    starts.push_back(launch);
    LaunchResult result;
    result.started = !missing.contains(launch.program);
    if (!result.started) result.reason = QStringLiteral("not found");
    return result;
  }
  bool isBuildTree(const QString& directory) override { return !installed.contains(directory); }
};

// Records boxes and questions; questions are answered from a script, and
// without an answer left they are cancelled.
class RecordingBoxes : public MessageBoxes {
 public:
  struct Box {
    QMessageBox::Icon icon;
    QString title;
    QString text;
  };
  struct Question {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
  };

  std::vector<Box> boxes;
  std::vector<Question> questions;
  std::deque<QMessageBox::StandardButton> answers;
  std::deque<int> numbers;  // the answers to askNumber

  void show(QMessageBox::Icon icon, const QString& title, const QString& text) override {
    boxes.push_back({icon, title, text});
  }
  QMessageBox::StandardButton ask(QMessageBox::Icon, const QString& title, const QString& text,
                                  QMessageBox::StandardButtons buttons,
                                  QMessageBox::StandardButton) override {
    questions.push_back({title, text, buttons});
    if (answers.empty()) return QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool askNumber(const QString& title, const QString& label, int, int, int, int* chosen) override {
    questions.push_back({title, label, QMessageBox::Ok | QMessageBox::Cancel});
    if (numbers.empty()) return false;
    *chosen = numbers.front();
    numbers.pop_front();
    return true;
  }
};
