// The keys every editor has, typed as the window system delivers them:
// the file commands, undo and redo, the clipboard, the find bar, Go to
// Line, and the menus opened with Alt that give the keys back on Esc.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>

#include "editor_window_fixture.h"
#include "find_bar.h"
#include "source_text_edit.h"

namespace {

using Button = QMessageBox::StandardButton;

class EditorKeys : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    text1()->setFocus();
  }

  SourceTextEdit* text1() const { return window->findChild<SourceTextEdit*>("Text1"); }
  FindBar& bar() { return window->findBar(); }

  // The window system gives the window back its activation when a menu
  // closes; the offscreen platform leaves it with the closed menu.
  void activateAfterMenus() {
    if (QApplication::activePopupWidget() != nullptr) return;
    if (QApplication::activeWindow() == window.get()) return;
    QApplication::setActiveWindow(window.get());
  }
  // A key as the user types it: to whatever has the keys now.
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    activateAfterMenus();
    QWidget* target = QApplication::activePopupWidget();
    if (target == nullptr) target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, k, modifiers);
  }
  void type(const QString& text) {
    activateAfterMenus();
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClicks(target, text);
  }
  QString selected() const { return text1()->textCursor().selectedText(); }
  int cursorLine() const { return text1()->textCursor().blockNumber(); }
};

TEST_F(EditorKeys, FileCommandKeys) {
  type("kiv keys");
  key(Qt::Key_N, Qt::ControlModifier);  // asks; cancelled
  ASSERT_EQ(boxes.questions.size(), 1u);
  EXPECT_EQ(window->text(), "kiv keys");

  const QString path = dir.filePath("keys.tarnel");
  cmd1.answer(path);
  key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv keys\r\n"));

  const QString other = dir.filePath("other.tarnel");
  cmd1.answer(other);
  key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(window->currentFile(), other);

  cmd1.answer(path);
  key(Qt::Key_O, Qt::ControlModifier);  // unchanged: no question
  EXPECT_EQ(window->currentFile(), path);
  EXPECT_EQ(boxes.questions.size(), 1u);
  EXPECT_EQ(cmd1.shown.size(), 3u);

  key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(EditorKeys, UndoRedoAndTheClipboard) {
  type("one");
  key(Qt::Key_Return);
  type("two");
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->text(), "one\n");
  key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(window->text(), "one\ntwo");
  key(Qt::Key_Z, Qt::ControlModifier);
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(window->text(), "one\ntwo");

  key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(selected(), QString("one") + QChar::ParagraphSeparator + "two");
  key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "one\ntwo");
  key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(window->text(), QString());
  key(Qt::Key_V, Qt::ControlModifier);
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(window->text(), "one\ntwoone\ntwo");
}

TEST_F(EditorKeys, FindBarFindsOnBothWaysAroundTheText) {
  window->setText("mov a,b\nMOV c,d\nprint a\nmov e,f\n");
  key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(bar().isVisible());
  EXPECT_EQ(QApplication::focusWidget(), bar().findField());
  EXPECT_FALSE(bar().replaceField()->isVisible());
  type("mov");
  key(Qt::Key_Return);
  EXPECT_EQ(cursorLine(), 0);
  EXPECT_EQ(selected(), "mov");
  key(Qt::Key_F3);
  EXPECT_EQ(cursorLine(), 1);  // any case until Match case is ticked
  bar().matchCase()->setChecked(true);
  key(Qt::Key_F3);
  EXPECT_EQ(cursorLine(), 3);
  key(Qt::Key_F3);  // on from the start
  EXPECT_EQ(cursorLine(), 0);
  EXPECT_EQ(window->statusBar()->currentMessage(), "Went on from the start of the text.");
  key(Qt::Key_F3, Qt::ShiftModifier);  // back from the end
  EXPECT_EQ(cursorLine(), 3);
  key(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(cursorLine(), 0);

  bar().findField()->setText("jmp");
  key(Qt::Key_Return);
  EXPECT_EQ(window->statusBar()->currentMessage(), "\"jmp\" is not in the text.");
  EXPECT_EQ(cursorLine(), 0);

  // Esc gives the keys back to the text where the last match was.
  bar().findField()->setText("mov");
  key(Qt::Key_Return);
  key(Qt::Key_Escape);
  EXPECT_FALSE(bar().isVisible());
  EXPECT_EQ(QApplication::focusWidget(), text1());
  key(Qt::Key_F3);  // the bar remembers the text to find
  type("x");
  EXPECT_EQ(window->text(), "x a,b\nMOV c,d\nprint a\nmov e,f\n");
}

TEST_F(EditorKeys, ReplaceOneThenEveryMatchInOneUndoableEdit) {
  window->setText("add n, 1\nadd m, 2\nadd k, 3\n");
  text1()->moveCursor(QTextCursor::Start);
  key(Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(bar().replaceField()->isVisible());
  type(", ");
  bar().replaceField()->setText(",");
  EXPECT_TRUE(bar().replace());  // selects the first match
  EXPECT_TRUE(bar().replace());  // replaces it and selects the next
  EXPECT_EQ(window->text(), "add n,1\nadd m, 2\nadd k, 3\n");
  EXPECT_EQ(cursorLine(), 1);
  EXPECT_EQ(bar().replaceAll(), 2);
  EXPECT_EQ(window->text(), "add n,1\nadd m,2\nadd k,3\n");
  EXPECT_EQ(window->statusBar()->currentMessage(), "Replaced 2 matches.");
  text1()->undo();
  EXPECT_EQ(window->text(), "add n,1\nadd m, 2\nadd k, 3\n");
}

// Go to Line takes the numbers the margin shows, which are the file's.
TEST_F(EditorKeys, GoToLineTakesTheMarginsNumbers) {
  const QString path = dir.filePath("lines.tarnel");
  writeBytes(path, "first\nsecond\nthird\n");  // written elsewhere: no empty first line
  window->openFile(path);
  boxes.numbers = {2};
  key(Qt::Key_G, Qt::ControlModifier);
  ASSERT_EQ(boxes.questions.size(), 1u);
  EXPECT_EQ(boxes.questions[0].title, "Go to Line");
  EXPECT_EQ(boxes.questions[0].text, "Line number (1 to 4):");
  EXPECT_EQ(cursorLine(), 1);
  EXPECT_EQ(QApplication::focusWidget(), text1());
}

TEST_F(EditorKeys, AltLetterThenEscGivesTheKeysBackAtOnce) {
  type("kiv");
  key(Qt::Key_F, Qt::AltModifier);
  QMenu* file = window->findChild<QMenu*>("File");
  ASSERT_TRUE(file->isVisible());
  key(Qt::Key_Escape);
  EXPECT_FALSE(file->isVisible());
  QApplication::processEvents();
  type(" x");
  EXPECT_EQ(window->text(), "kiv x");

  // Moving to the next menu with the arrow keys keeps the menus open.
  key(Qt::Key_E, Qt::AltModifier);
  key(Qt::Key_Right);
  QApplication::processEvents();
  EXPECT_TRUE(window->findChild<QMenu*>("Compile")->isVisible());
  key(Qt::Key_Escape);
  QApplication::processEvents();
  type("y");
  EXPECT_EQ(window->text(), "kiv xy");
}

}  // namespace
