// Debugging in the window as a learner does it, keys and clicks included:
// the highlighted line, the dock's views, breakpoints set in the margin,
// input typed while the program waits, Pause in an endless loop, stepping
// back, a text held read-only, and the margin's numbers in what is said.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>

#include "debug_commands.h"
#include "debug_panel.h"
#include "editor_window_fixture.h"
#include "source_text_edit.h"

namespace {

using Phase = DebugController::Phase;

// The margin numbers these lines from 2 in an untitled document.
const char kProgram[] =
    "kiv demo {\n"       // 0
    "var {\n"            // 1
    "var& n\n"           // 2
    "var& total := 0\n"  // 3
    "}\n"                // 4
    "begin {\n"          // 5
    "    push 3\n"       // 6
    "    input n\n"      // 7
    "    pop total\n"    // 8
    "    add total,n\n"  // 9
    "    print total\n"  // 10
    "}\n"                // 11
    "}\n";               // 12

const char kEndlessLoop[] =
    "kiv loop {\nvar {\nvar& i\n}\nbegin {\ntop:\n    inc i\n    jmp top\n}\n}\n";

class DebugWindow : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    text1()->setFocus();
  }

  SourceTextEdit* text1() const { return window->findChild<SourceTextEdit*>("Text1"); }
  DebugCommands& debug() { return window->debugCommands(); }
  Phase phase() { return debug().controller().phase(); }
  QString status() const { return window->statusBar()->currentMessage(); }
  QString steps() const { return window->findChild<QLabel*>("stepsLabel")->text(); }

  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QApplication::activeWindow() != window.get()) QApplication::setActiveWindow(window.get());
    QTest::keyClick(QApplication::focusWidget(), k, modifiers);
  }
  bool settle() {
    return QTest::qWaitFor([this] { return phase() != Phase::Running; }, 5000);
  }
  void typeInput(const char* line) {
    QTest::keyClicks(panel().inputField(), line);
    QTest::keyClick(panel().inputField(), Qt::Key_Return);
    ASSERT_TRUE(settle());
  }
  void clickMargin(int line) {
    for (const auto& [number, top] : text1()->visibleLineNumbers()) {
      if (number - text1()->firstLineNumber() != line) continue;
      QTest::mouseClick(text1()->lineNumberMargin(), Qt::LeftButton, {}, QPoint(4, top + 3));
      return;
    }
    ADD_FAILURE() << "line " << line << " is not in view";
  }
  // The line the highlight lies on once the window has drawn it, or -1.
  int highlightedLine() {
    QApplication::processEvents();
    for (const QTextEdit::ExtraSelection& selection : text1()->extraSelections()) {
      if (selection.format.property(QTextFormat::FullWidthSelection).toBool()) {
        return selection.cursor.blockNumber();
      }
    }
    return -1;
  }
  // "name type value", with a "*" when the value stands out as changed.
  QStringList variables() const {
    QStringList rows;
    QTreeWidget* view = panel().variablesView();
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* row = view->topLevelItem(i);
      rows << row->text(0) + " " + row->text(1) + " " + row->text(2) +
                  (row->font(2).bold() ? "*" : "");
    }
    return rows;
  }
  QStringList stack() const {
    QStringList values;
    for (int i = 0; i < panel().stackView()->count(); ++i)
      values << panel().stackView()->item(i)->text();
    return values;
  }
  DebugPanel& panel() const { return *window->findChild<DebugPanel*>(); }
};

TEST_F(DebugWindow, StepsShowTheNextLineTheViewsAndWhatChanged) {
  window->setText(kProgram);
  key(Qt::Key_F10);  // starts the run before its first instruction
  EXPECT_TRUE(panel().isVisible());
  EXPECT_EQ(status(), "Ready at line 8: F10 steps, F5 runs on");
  EXPECT_EQ(highlightedLine(), 6);
  EXPECT_TRUE(text1()->isReadOnly());
  EXPECT_EQ(variables(), QStringList({"n integer 0", "total integer 0"}));

  key(Qt::Key_F11);  // F11 steps too
  ASSERT_TRUE(settle());
  EXPECT_EQ(status(), "Stepped over line 8: pushed 3");
  EXPECT_EQ(highlightedLine(), 7);
  EXPECT_EQ(stack(), QStringList({"3"}));
  EXPECT_EQ(steps(), "1 step");

  key(Qt::Key_F10);  // the input finds no word: the program waits
  ASSERT_TRUE(settle());
  EXPECT_EQ(status(), "the program is waiting for input");
  EXPECT_EQ(QApplication::focusWidget(), panel().inputField());
  EXPECT_EQ(highlightedLine(), 7);
  // Typed into the text by mistake, the input goes where it is awaited.
  text1()->setFocus();
  QTest::keyClicks(text1(), "5 ");
  EXPECT_EQ(panel().inputField()->text(), "5 ");
  EXPECT_EQ(window->text(), kProgram);
  typeInput("9");
  EXPECT_EQ(status(), "Stepped over line 9: n = 5");
  EXPECT_EQ(highlightedLine(), 8);
  EXPECT_EQ(variables(), QStringList({"n integer 5*", "total integer 0"}));
  EXPECT_EQ(panel().queueLabel()->text(), "Queued: 9");
}

TEST_F(DebugWindow, MarginClickSetsABreakpointTheRunStopsAt) {
  window->setText(kProgram);
  clickMargin(9);
  EXPECT_EQ(text1()->breakpointLines(), std::vector<int>{9});
  key(Qt::Key_F5);
  ASSERT_TRUE(settle());
  ASSERT_EQ(phase(), Phase::WaitingForInput);
  typeInput("4");
  EXPECT_EQ(status(), "Breakpoint at line 11");
  EXPECT_EQ(highlightedLine(), 9);

  clickMargin(9);  // off again, while the run stands
  EXPECT_TRUE(text1()->breakpointLines().empty());
  key(Qt::Key_F5);
  ASSERT_TRUE(settle());
  EXPECT_EQ(status(), "The program ended after 5 steps");
  EXPECT_EQ(panel().outputView()->toPlainText(), "7");
  EXPECT_EQ(highlightedLine(), -1);
  EXPECT_FALSE(text1()->isReadOnly());
}

TEST_F(DebugWindow, PauseStopsAnEndlessLoopWhileTheWindowAnswers) {
  window->setText(kEndlessLoop);
  key(Qt::Key_F5);
  QTest::qWait(300);
  EXPECT_EQ(phase(), Phase::Running);
  EXPECT_EQ(status(), "Running: F6 pauses it");
  EXPECT_FALSE(window->findChild<QAction*>("StartOrContinue")->isEnabled());
  key(Qt::Key_F6);
  EXPECT_EQ(phase(), Phase::Stopped);
  EXPECT_TRUE(status().startsWith("Paused at line ")) << status().toStdString();
  const int line = highlightedLine();
  EXPECT_TRUE(line == 6 || line == 7) << line;
  key(Qt::Key_F5, Qt::ShiftModifier);  // Stop
  EXPECT_FALSE(debug().controller().hasRun());
  EXPECT_FALSE(text1()->isReadOnly());
  EXPECT_EQ(highlightedLine(), -1);
}

TEST_F(DebugWindow, StepBackOverPopAndInputRestoresViewsOutputAndQueue) {
  window->setText(kProgram);
  key(Qt::Key_F5);
  ASSERT_TRUE(settle());
  typeInput("5 9");
  ASSERT_EQ(phase(), Phase::Ended);
  EXPECT_EQ(panel().outputView()->toPlainText(), "8");
  text1()->setFocus();

  key(Qt::Key_F10, Qt::ShiftModifier);  // to the closing brace, before the end
  ASSERT_TRUE(settle());
  EXPECT_EQ(highlightedLine(), 11);
  EXPECT_TRUE(text1()->isReadOnly());
  key(Qt::Key_F10, Qt::ShiftModifier);  // print
  ASSERT_TRUE(settle());
  EXPECT_EQ(panel().outputView()->toPlainText(), "");
  key(Qt::Key_F10, Qt::ShiftModifier);  // add
  key(Qt::Key_F10, Qt::ShiftModifier);  // pop
  ASSERT_TRUE(settle());
  EXPECT_EQ(status(), "Stepped back to line 10");
  EXPECT_EQ(stack(), QStringList({"3"}));
  EXPECT_EQ(variables(), QStringList({"n integer 5", "total integer 0*"}));
  key(Qt::Key_F10, Qt::ShiftModifier);  // input
  ASSERT_TRUE(settle());
  EXPECT_EQ(variables(), QStringList({"n integer 0*", "total integer 0"}));
  EXPECT_EQ(panel().queueLabel()->text(), "Queued: 5 9");

  key(Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);  // reverse continue
  ASSERT_TRUE(settle());
  EXPECT_EQ(status(), "Back at the start of the run, line 8");
  key(Qt::Key_F5);  // forwards again: the words are read again
  ASSERT_TRUE(settle());
  EXPECT_EQ(phase(), Phase::Ended);
  EXPECT_EQ(panel().outputView()->toPlainText(), "8");
}

TEST_F(DebugWindow, AssemblerErrorsStartNothingAndTheMarksShowWhy) {
  window->setText("kiv bad {\n}\n");
  key(Qt::Key_F5);
  EXPECT_TRUE(status().startsWith("Nothing runs: error(1) ")) << status().toStdString();
  EXPECT_FALSE(debug().controller().hasRun());
  EXPECT_FALSE(panel().isVisible());
  EXPECT_FALSE(text1()->isReadOnly());
  EXPECT_TRUE(QTest::qWaitFor([this] { return !text1()->marks().empty(); }, 5000));
}

TEST_F(DebugWindow, TheTextIsReadOnlyWhileARunStandsAndEditsAfterItsEndDropIt) {
  window->setText(kProgram);
  key(Qt::Key_F10);
  key(Qt::Key_X);
  EXPECT_EQ(window->text(), kProgram);
  EXPECT_EQ(status(), "The text is read-only while a program runs in it: Shift+F5 stops the run");
  EXPECT_FALSE(window->findChild<QAction*>("Undo")->isEnabled());
  EXPECT_FALSE(window->findChild<QAction*>("Default")->isEnabled());
  window->findChild<QAction*>("Default")->trigger();
  EXPECT_EQ(window->text(), kProgram);

  key(Qt::Key_F5);  // waits for input; the program then ends
  ASSERT_TRUE(settle());
  typeInput("1");
  ASSERT_EQ(phase(), Phase::Ended);
  EXPECT_TRUE(window->findChild<QAction*>("Default")->isEnabled());
  text1()->setFocus();
  key(Qt::Key_End, Qt::ControlModifier);
  key(Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_FALSE(debug().controller().hasRun());
}

// A file written elsewhere has no empty first line: its first line is 1,
// and what the status bar says follows the margin.
TEST_F(DebugWindow, LinesFollowTheMarginOfAFileWithoutTheLeadingLine) {
  const QString path = dir.filePath("plain.tarnel");
  writeBytes(path, kProgram);
  ASSERT_TRUE(window->openFile(path));
  ASSERT_EQ(text1()->firstLineNumber(), 1);
  text1()->setTextCursor(QTextCursor(text1()->document()->findBlockByNumber(10)));
  key(Qt::Key_F9);
  EXPECT_EQ(text1()->breakpointLines(), std::vector<int>{10});
  key(Qt::Key_F5);
  ASSERT_TRUE(settle());
  typeInput("2");
  EXPECT_EQ(status(), "Breakpoint at line 11");
  EXPECT_EQ(highlightedLine(), 10);

  text1()->setFocus();
  text1()->setTextCursor(QTextCursor(text1()->document()->findBlockByNumber(11)));
  key(Qt::Key_F10, Qt::ControlModifier);  // Run to Cursor: the closing brace is the halt
  ASSERT_TRUE(settle());
  EXPECT_EQ(status(), "Ran to line 12");
  EXPECT_EQ(highlightedLine(), 11);
}

TEST_F(DebugWindow, AStepInALatin1FileSaysItsTextAsTheFileHasIt) {
  const QString path = dir.filePath("latin1.tarnel");
  writeBytes(path, "kiv demo {\nvar {\nvar$ s\n}\nbegin {\n    mov s,\"d\xe9j\xe0\"\n}\n}\n");
  ASSERT_TRUE(window->openFile(path));
  ASSERT_EQ(window->encoding(), TextEncoding::Latin1);
  key(Qt::Key_F10);
  key(Qt::Key_F10);
  ASSERT_TRUE(settle());
  EXPECT_EQ(status(), QString::fromUtf8("Stepped over line 6: s = \"d\u00e9j\u00e0\""));
}

TEST_F(DebugWindow, AltDOpensTheDebugMenuAndANewTextEndsTheRun) {
  key(Qt::Key_D, Qt::AltModifier);
  ASSERT_NE(window->menuBar()->activeAction(), nullptr);
  EXPECT_EQ(window->menuBar()->activeAction()->text(), "Debug");
  window->menuBar()->setActiveAction(nullptr);

  window->setText(kProgram);
  debug().step();
  ASSERT_TRUE(text1()->isReadOnly());
  boxes.answers.push_back(QMessageBox::Discard);
  window->newDocument();
  QApplication::processEvents();
  EXPECT_FALSE(debug().controller().hasRun());
  EXPECT_FALSE(text1()->isReadOnly());
  EXPECT_EQ(status(), "The run was stopped: the text was replaced");
}

TEST_F(DebugWindow, TheDockComesBackWhereItWasLeft) {
  window->setText(kProgram);
  key(Qt::Key_F10);
  window->addDockWidget(Qt::RightDockWidgetArea, &panel());
  key(Qt::Key_F5, Qt::ShiftModifier);
  boxes.answers.push_back(QMessageBox::Discard);
  ASSERT_TRUE(window->close());

  Form1 again(dir.path(), cmd1, launcher, boxes);
  again.show();
  DebugPanel* dock = again.debugCommands().panel();
  EXPECT_FALSE(dock->isVisible());
  again.setText(kProgram);
  again.debugCommands().step();
  EXPECT_TRUE(dock->isVisible());
  EXPECT_EQ(again.dockWidgetArea(dock), Qt::RightDockWidgetArea);
}

}  // namespace
