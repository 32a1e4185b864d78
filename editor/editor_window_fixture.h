// The test fixture shared by the editor window's tests: a Form1 over a
// temporary editor directory, with the scripted dialog, the recording
// launcher and boxes, and helpers that read and write file bytes.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "editor_fakes.h"
#include "form1.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

inline QByteArray readBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<unreadable>");
  return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// A window over a temporary editor directory that holds two executable
// stand-ins for the translators.
class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"tarnel", "tarnel_perl"}) {
      QFile file(dir.filePath(tool));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.close();
      file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    window = std::make_unique<Form1>(dir.path(), cmd1, launcher, boxes);
  }

  QString untitled() const { return dir.path() + "/Untitled.tarnel"; }
  QString title() const { return window->windowTitle(); }
  // The title for file, with the mark of unsaved changes when changed.
  static QString titleOf(const QString& file, bool changed = false) {
    return "Tarnel IDE - " + file + (changed ? "*" : "");
  }
  void trigger(const char* item) { window->findChild<QAction*>(item)->trigger(); }

  QTemporaryDir dir;
  ScriptedFileDialog cmd1;
  RecordingLauncher launcher;
  RecordingBoxes boxes;
  std::unique_ptr<Form1> window;
};
