// The checker's fixes in the window as a learner uses them: offered by a
// right-click on a marked word, all safe ones made by Fix All Problems as
// one edit that one Undo takes back, the problems counted in the status bar
// and visited by F8 and Shift+F8, and no fix while a program is debugged.
#include "quick_fixes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "debug_commands.h"
#include "debug_controller.h"
#include "diagnostic_marks.h"
#include "editor_window_fixture.h"
#include "fix_apply.h"
#include "live_check.h"
#include "source_text_edit.h"

namespace {

// Untitled, so the margin numbers these lines from 2.
const char kProgram[] =
    "kiv demo {\n"         // 0
    "var {\n"              // 1
    "var& a := 1\n"        // 2  the first declaration: a note's place, no problem
    "var& b := 2\n"        // 3
    "var& a := 3\n"        // 4  warning: declared again
    "}\n"                  // 5
    "begin {\n"            // 6
    "    mov a, b\n"       // 7  note: the blank after the comma, a safe fix
    "\tprint a\n"          // 8  error: the tab, a safe fix
    "    add a,cuont\n"    // 9  warning: no such variable, no fix
    "    print \"\\n\"\n"  // 10
    "}\n"                  // 11
    "}\n";                 // 12

const char kFixed[] =
    "kiv demo {\nvar {\nvar& a := 1\nvar& b := 2\nvar& a := 3\n}\nbegin {\n"
    "    mov a,b\n"
    "    print a\n"
    "    add a,cuont\n    print \"\\n\"\n}\n}\n";

class QuickFixWindow : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    text1()->setFocus();
  }

  SourceTextEdit* text1() const { return window->findChild<SourceTextEdit*>("Text1"); }
  QuickFixes& fixes() { return window->quickFixes(); }
  QString status() const { return window->statusBar()->currentMessage(); }
  QString counts() const { return window->findChild<QLabel*>("problemsLabel")->text(); }

  void setTextAndWait(const char* text) {
    window->setText(QString::fromUtf8(text));
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->liveCheck().marksFitText(); }, 10000));
  }
  // A point over the character at column of line, in the viewport's terms.
  QPoint pointAt(int line, int column) const {
    QTextCursor cursor(text1()->document()->findBlockByNumber(line));
    cursor.setPosition(cursor.position() + column);
    const QRect caret = text1()->cursorRect(cursor);
    return QPoint(caret.left() + 2, caret.center().y());
  }
  static QStringList captions(const QMenu& menu) {
    QStringList all;
    for (const QAction* action : menu.actions()) all << action->text();
    return all;
  }
  int cursorLine() const { return text1()->textCursor().blockNumber(); }
};

TEST_F(QuickFixWindow, ARightClickOnAMarkedWordOffersItsFixesAndMakesTheOneChosen) {
  setTextAndWait(kProgram);
  // Over the word after the blank: that problem's fix, then the usual entries.
  QStringList offered;
  QTimer::singleShot(0, [&offered] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    offered = captions(*menu);
    menu->setActiveAction(menu->actions().first());
    QTest::keyClick(menu, Qt::Key_Return);
  });
  const QPoint point = pointAt(7, 11);
  QContextMenuEvent click(QContextMenuEvent::Mouse, point, text1()->viewport()->mapToGlobal(point));
  QApplication::sendEvent(text1()->viewport(), &click);
  ASSERT_GE(offered.size(), 3);
  EXPECT_EQ(offered[0], "Fix: remove the blank after the comma");
  EXPECT_EQ(offered[1], "");  // a separator before the usual entries
  EXPECT_EQ(text1()->document()->findBlockByNumber(7).text(), "    mov a,b");
  EXPECT_EQ(text1()->document()->findBlockByNumber(8).text(), "\tprint a");
  EXPECT_EQ(status(), "Fixed: remove the blank after the comma");

  // A word without a fix, and a word without a mark, offer none.
  for (const QPoint& elsewhere : {pointAt(9, 11), pointAt(0, 1)}) {
    const std::unique_ptr<QMenu> menu = fixes().contextMenuAt(elsewhere);
    EXPECT_FALSE(captions(*menu).join('|').contains("Fix: "))
        << captions(*menu).join('|').toStdString();
  }
}

TEST_F(QuickFixWindow, AFixOfferedBeforeTheTextChangedIsNotMade) {
  setTextAndWait(kProgram);
  const std::unique_ptr<QMenu> menu = fixes().contextMenuAt(pointAt(8, 0));
  ASSERT_EQ(menu->actions().first()->text(), "Fix: indent with four blanks");
  // The text changes above the line before the fix is chosen: its edits
  // would land a line too high.
  QTextCursor(text1()->document()).insertText("\n");
  menu->actions().first()->trigger();
  EXPECT_EQ(status(), "The text has changed since: ask for its fixes again");
  EXPECT_EQ(window->text(), "\n" + QString::fromUtf8(kProgram));

  // Asked again at once, before the check that follows typing, the text is
  // checked there and then, and the fix lands where it belongs.
  const std::unique_ptr<QMenu> again = fixes().contextMenuAt(pointAt(9, 0));
  ASSERT_EQ(again->actions().first()->text(), "Fix: indent with four blanks");
  again->actions().first()->trigger();
  EXPECT_EQ(text1()->document()->findBlockByNumber(9).text(), "    print a");
  EXPECT_EQ(window->text().count('\t'), 0);
}

TEST_F(QuickFixWindow, FixAllIsOneEditThatOneUndoTakesBackWhole) {
  setTextAndWait(kProgram);
  EXPECT_EQ(counts(), "1 error, 2 warnings, 1 note");
  text1()->setTextCursor(QTextCursor(text1()->document()->findBlockByNumber(10)));
  for (int line : {3, 8, 10}) text1()->toggleBreakpoint(line);
  window->findChild<QAction*>("FixAllProblems")->trigger();
  EXPECT_EQ(window->text(), kFixed);
  EXPECT_EQ(status(), "Made 2 fixes");
  // The cursor and the breakpoints stay on their lines, fixed or not.
  EXPECT_EQ(cursorLine(), 10);
  EXPECT_EQ(text1()->breakpointLines(), (std::vector<int>{3, 8, 10}));
  ASSERT_TRUE(QTest::qWaitFor([this] { return window->liveCheck().marksFitText(); }, 10000));
  EXPECT_EQ(counts(), "2 warnings");

  window->findChild<QAction*>("Undo")->trigger();
  EXPECT_EQ(window->text(), kProgram);
  EXPECT_FALSE(text1()->document()->isUndoAvailable());
  window->findChild<QAction*>("Redo")->trigger();
  EXPECT_EQ(window->text(), kFixed);

  window->findChild<QAction*>("FixAllProblems")->trigger();
  EXPECT_EQ(status(), "Nothing to fix: no problem has a safe fix");
  EXPECT_EQ(window->text(), kFixed);
}

// Saved after Fix All Problems, a file holds what tarnel_check --fix writes
// for it: every byte the fixes do not name stays, whatever the file's form,
// and Save adds its empty first line where the file had none.
TEST_F(QuickFixWindow, AFileFixedAndSavedHoldsWhatTheCheckersFixWrites) {
  const QByteArray kinds[] = {
      // Latin-1, without the editor's leading line.
      QByteArray("kiv demo {\r\nvar {\r\nvar$ s := \"d\xe9j\xe0\"\r\nvar& a\r\nvar& b\r\n}\r\n"
                 "begin {\r\n\tmov a, b\r\n    print s\r\n}\r\n}\r\n"),
      // UTF-8 with a byte order mark and the leading line.
      QByteArray("\xef\xbb\xbf\r\nkiv demo {\r\nvar {\r\nvar$ s := \"d\xc3\xa9j\xc3\xa0\"\r\n"
                 "var& a, b ; two\r\n}\r\nbegin {\r\n  mov a, b\r\n    print s   ; \xe2\x86\x92\r\n"
                 "}\r\n}\r\n"),
  };
  const std::string leadingLines[] = {"\r\n", ""};
  for (int kind = 0; kind < 2; ++kind) {
    const QByteArray& original = kinds[kind];
    const QString path = dir.filePath("fixme.tarnel");
    writeBytes(path, original);
    ASSERT_TRUE(window->openFile(path));
    window->findChild<QAction*>("FixAllProblems")->trigger();
    ASSERT_TRUE(window->save());
    const std::string expected =
        leadingLines[kind] +
        fixSafely(std::string(original.constData(), static_cast<std::size_t>(original.size())))
            .text;
    EXPECT_NE(expected, leadingLines[kind] + original.toStdString());
    EXPECT_EQ(readBytes(path).toStdString(), expected);
  }
}

TEST_F(QuickFixWindow, F8AndShiftF8VisitTheProblemsWrappingRound) {
  setTextAndWait(kProgram);
  QStringList visited;
  for (int i = 0; i < 5; ++i) {
    QTest::keyClick(text1(), Qt::Key_F8);
    visited << QString::number(cursorLine());
  }
  // The first declaration is only a note's place: F8 passes it by.
  EXPECT_EQ(visited.join(' '), "4 7 8 9 4");
  EXPECT_EQ(status(),
            "Line 6: warning: \"a\" is already declared on line 4: every instruction finds the "
            "first declaration, so this one is never used; remove it or choose another name");
  EXPECT_EQ(text1()->textCursor().positionInBlock(), 5);

  QTest::keyClick(text1(), Qt::Key_F8, Qt::ShiftModifier);
  EXPECT_EQ(cursorLine(), 9);
  QTest::keyClick(text1(), Qt::Key_F8, Qt::ShiftModifier);
  EXPECT_EQ(cursorLine(), 8);
  EXPECT_TRUE(status().startsWith("Line 10: error: a tab before the instruction"))
      << status().toStdString();

  setTextAndWait("kiv clean {\nvar {\n}\nbegin {\n}\n}\n");
  EXPECT_EQ(counts(), "no problems");
  QTest::keyClick(text1(), Qt::Key_F8);
  EXPECT_EQ(status(), "No problem is marked");
}

TEST_F(QuickFixWindow, NoFixIsMadeWhileAProgramIsDebugged) {
  QString runnable = QString::fromUtf8(kProgram);
  runnable.replace("\tprint a", "    print a");
  window->setText(runnable);
  window->debugCommands().step();
  ASSERT_TRUE(text1()->isReadOnly());
  QAction* fixAll = window->findChild<QAction*>("FixAllProblems");
  EXPECT_FALSE(fixAll->isEnabled());
  fixes().fixAll();
  const std::unique_ptr<QMenu> menu = fixes().contextMenuAt(pointAt(7, 11));
  ASSERT_EQ(menu->actions().first()->text(), "Fix: remove the blank after the comma");
  EXPECT_FALSE(menu->actions().first()->isEnabled());
  EXPECT_EQ(window->text(), runnable);

  window->findChild<QAction*>("Stop")->trigger();
  EXPECT_FALSE(text1()->isReadOnly());
  EXPECT_TRUE(fixAll->isEnabled());
  fixAll->trigger();
  EXPECT_EQ(window->text(), kFixed);
}

TEST(ProblemCounts, ReadAsTheStatusBarShowsThem) {
  EXPECT_EQ(problemCountsText({}), "no problems");
  EXPECT_EQ(problemCountsText({1, 0, 0}), "1 error");
  EXPECT_EQ(problemCountsText({2, 3, 0}), "2 errors, 3 warnings");
  EXPECT_EQ(problemCountsText({0, 1, 2}), "1 warning, 2 notes");
  EXPECT_EQ(problemCountsText({0, 0, 1}), "1 note");
}

}  // namespace
