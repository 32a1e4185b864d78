// The editor's comforts: keys, undo, file names, dialog folders, tab stops,
// the file named on the command line and tools started by an installed
// editor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "editor_window_fixture.h"
#include "form1.h"

namespace {

class EditorComforts : public EditorWindow {
 protected:
  QPlainTextEdit* text1() const { return window->findChild<QPlainTextEdit*>("Text1"); }

  void press(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(text1(), &event);
  }

  QStringList captions() const {
    QStringList all;
    for (QAction* menu : window->menuBar()->actions()) {
      all << menu->text();
      for (QAction* item : menu->menu()->actions()) all << item->text();
    }
    return all;
  }
};

TEST_F(EditorComforts, AltWithALetterOpensItsMenuAndNeverTypes) {
  struct Case {
    int key;
    const char* text;
    const char* menu;  // nullptr: swallowed
  };
  const Case cases[] = {
      {Qt::Key_F, "f", "File"}, {Qt::Key_E, "e", "Edit"},  {Qt::Key_C, "c", "Compile"},
      {Qt::Key_H, "h", "Help"}, {Qt::Key_X, "x", nullptr}, {Qt::Key_Q, "q", nullptr},
  };
  window->show();
  const QStringList before = captions();
  window->setText("kiv");
  for (const Case& c : cases) {
    press(c.key, Qt::AltModifier, c.text);
    EXPECT_EQ(window->text(), "kiv") << c.text;
    QMenu* open = nullptr;
    for (QMenu* menu : window->findChildren<QMenu*>()) {
      if (menu->isVisible()) open = menu;
    }
    if (c.menu == nullptr) {
      EXPECT_EQ(open, nullptr) << c.text;
    } else {
      ASSERT_NE(open, nullptr) << c.text;
      EXPECT_EQ(open->objectName(), c.menu);
      open->close();
    }
  }
  EXPECT_EQ(captions(), before);

  // Without Alt, and with Alt and a key that is no letter, keys type as usual.
  press(Qt::Key_F, Qt::NoModifier, "f");
  EXPECT_EQ(window->text(), "fkiv");
}

TEST_F(EditorComforts, TemplateIsOneEditThatUndoBringsBack) {
  window->setText("kiv mine {\n");
  text1()->moveCursor(QTextCursor::End);
  press(Qt::Key_X, Qt::NoModifier, "x");
  trigger("Default");
  EXPECT_EQ(window->text(), QString::fromLatin1(kDefaultProgramTemplate));
  press(Qt::Key_Z, Qt::ControlModifier, QString());
  EXPECT_EQ(window->text(), "kiv mine {\nx");
  text1()->redo();
  EXPECT_EQ(window->text(), QString::fromLatin1(kDefaultProgramTemplate));
}

TEST(SaveAsName, GetsTheSourceExtensionOnlyWithoutAnyDot) {
  struct Case {
    const char* chosen;
    const char* kept;
  };
  const Case cases[] = {
      {"/a/prog", "/a/prog.tarnel"},
      {"/a.b/prog", "/a.b/prog.tarnel"},
      {"/a/prog.tarnel", "/a/prog.tarnel"},
      {"/a/prog.txt", "/a/prog.txt"},
      {"/a/prog.", "/a/prog."},
      {"/a/.hidden", "/a/.hidden"},
  };
  for (const Case& c : cases) EXPECT_EQ(withSourceExtension(c.chosen), c.kept) << c.chosen;
}

TEST_F(EditorComforts, SaveAsAddsTheExtensionToABareName) {
  cmd1.answer(dir.filePath("prog"));
  window->setText("kiv");
  trigger("SaveAs");
  EXPECT_EQ(window->currentFile(), dir.filePath("prog.tarnel"));
  EXPECT_EQ(title(), "Tarnel IDE - " + dir.filePath("prog.tarnel"));
  EXPECT_EQ(readBytes(dir.filePath("prog.tarnel")), QByteArray("\r\nkiv\r\n"));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("prog")));
}

// Untitled work opens its dialogs in the home folder, or in the last
// folder a file was opened from or saved to; a named document's in its
// file's folder. Never among the editor's own programs.
TEST_F(EditorComforts, DialogsStartInTheFilesFolderTheLastOneUsedOrHome) {
  QDir(dir.path()).mkdir("sub");
  const QString inSub = dir.filePath("sub/p.tarnel");
  writeBytes(inSub, "\r\nkiv\r\n");
  trigger("SaveAs");  // untitled, nothing used yet: home
  cmd1.answer(inSub);
  trigger("Open");  // still untitled when the dialog comes up
  trigger("Open");  // now beside the opened file
  trigger("New");
  trigger("SaveAs");  // untitled again: the last folder used
  ASSERT_EQ(cmd1.shown.size(), 4u);
  EXPECT_EQ(cmd1.shown[0].directory, QDir::homePath());
  EXPECT_EQ(cmd1.shown[1].directory, QDir::homePath());
  EXPECT_EQ(cmd1.shown[2].directory, dir.filePath("sub"));
  EXPECT_EQ(cmd1.shown[3].directory, dir.filePath("sub"));
}

TEST_F(EditorComforts, TabStopsEveryEightCharacterCells) {
  const qreal cell = QFontMetricsF(text1()->font()).horizontalAdvance(QChar(' '));
  EXPECT_DOUBLE_EQ(text1()->tabStopDistance(), 8 * cell);

  window->show();
  window->setText("\tx\n        x\n1234567\tx\n12345678\tx\n                x");
  auto xOf = [&](int line) {
    QTextCursor cursor(text1()->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.movePosition(QTextCursor::Left);
    return text1()->cursorRect(cursor).left();
  };
  EXPECT_EQ(xOf(0), xOf(1));
  EXPECT_EQ(xOf(2), xOf(1));
  EXPECT_EQ(xOf(3), xOf(4));
}

TEST_F(EditorComforts, OpenFileIsOpenWithoutTheDialog) {
  const QString path = dir.filePath("given.tarnel");
  writeBytes(path, "\r\nkiv given {\r\n\r\n");
  window->openFile(path);
  EXPECT_EQ(window->currentFile(), path);
  EXPECT_EQ(title(), titleOf(path));
  EXPECT_EQ(window->text(), "kiv given {\n");
  EXPECT_TRUE(cmd1.shown.empty());
}

// An installed editor, system-wide or in the home folder, starts the
// installed tools by their bare names in the source's folder, so the
// bytecode file, the script and debug.html land beside the source.
TEST_F(EditorComforts, CompileFromAnInstalledEditorRunsBesideTheSource) {
  launcher.installed = QStringList{dir.path()};
  QDir(dir.path()).mkdir("home");
  const QString path = dir.filePath("home/p.tarnel");
  cmd1.answer(path);
  window->setText("kiv");
  trigger("Perl");
  ASSERT_EQ(launcher.starts.size(), 1u);
  const Launch& start = launcher.starts[0];
  EXPECT_EQ(start.arguments,
            (QStringList{"-T", "tarnel_perl - " + path, "-e", "tarnel_perl", path}));
  EXPECT_EQ(start.workingDirectory, dir.filePath("home"));
  EXPECT_EQ(start.searchPathFirst, dir.path());
}

}  // namespace
