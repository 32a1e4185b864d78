// The marks while the text is edited: shown a moment after the last change,
// gone once the problem is fixed, read from the bytes Save writes, and
// never older than the text.
#include "live_check.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMutex>
#include <QSemaphore>
#include <QTextBlock>
#include <QTimer>
#include <atomic>

#include "check_source.h"
#include "editor_window_fixture.h"
#include "source_text_edit.h"

namespace {

// Runs the event loop until check shows its marks; false after ten seconds.
bool waitForMarks(LiveCheck& check) {
  QEventLoop loop;
  QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
  QObject::connect(&check, &LiveCheck::marksShown, &loop, [&loop] { loop.exit(0); });
  return loop.exec() == 0;
}

void runEventsFor(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, [&loop] { loop.quit(); });
  loop.exec();
}

// Each mark as "LINE:START+LENGTH SEVERITY TOOLTIP", one a line.
std::string describe(const std::vector<TextMark>& marks) {
  std::string all;
  for (const TextMark& m : marks) {
    all += std::to_string(m.line) + ":" + std::to_string(m.start) + "+" + std::to_string(m.length) +
           " " + std::to_string(static_cast<int>(m.severity)) + " " + m.toolTip.toStdString() +
           "\n";
  }
  return all;
}

const char kCutProgram[] =
    "kiv pit {\nvar {\nvar& count := 2\n}\nbegin {\ninc count;note\nprint count\n}\n}\n";

class LiveMarks : public EditorWindow {
 protected:
  SourceTextEdit* text1() const { return window->findChild<SourceTextEdit*>("Text1"); }
  LiveCheck& check() { return window->liveCheck(); }

  void type(const QString& text) {
    for (QChar c : text) {
      QKeyEvent key(QEvent::KeyPress, c == '\n' ? Qt::Key_Return : Qt::Key_unknown, Qt::NoModifier,
                    c == '\n' ? QString("\r") : QString(c));
      QApplication::sendEvent(text1(), &key);
    }
  }

  void moveTo(int line, int column) {
    QTextCursor cursor(text1()->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
    text1()->setTextCursor(cursor);
  }
};

TEST_F(LiveMarks, AProblemIsUnderlinedAMomentAfterTheLastChangeAndGoesWhenFixed) {
  window->show();
  QElapsedTimer sinceChange;
  window->setText(kCutProgram);
  sinceChange.start();
  QApplication::processEvents();
  EXPECT_TRUE(text1()->extraSelections().isEmpty());
  ASSERT_TRUE(waitForMarks(check()));
  EXPECT_GE(sinceChange.elapsed(), LiveCheck::kDelayMilliseconds - 50);

  ASSERT_EQ(text1()->extraSelections().size(), 1);
  const QTextEdit::ExtraSelection cut = text1()->extraSelections()[0];
  EXPECT_EQ(cut.cursor.block().blockNumber(), 5);
  EXPECT_EQ(cut.cursor.selectedText(), "t");  // "inc count;note" loses its "t"
  EXPECT_EQ(cut.format.underlineStyle(), QTextCharFormat::WaveUnderline);
  EXPECT_EQ(cut.format.underlineColor(), markColor(Severity::Warning));
  QTextCursor onT(text1()->document()->findBlockByNumber(5));
  onT.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 8);
  const QPoint t = text1()->cursorRect(onT).center() + QPoint(2, 0);
  EXPECT_TRUE(text1()->toolTipAt(t).startsWith(
      "warning: the comment right after \"inc count\" takes the statement's last character"))
      << text1()->toolTipAt(t).toStdString();

  // Typing restarts the pause: one key, then another before it ends.
  moveTo(5, 9);
  type(" ");
  sinceChange.start();
  runEventsFor(LiveCheck::kDelayMilliseconds / 2);
  EXPECT_EQ(text1()->extraSelections().size(), 1);  // not yet checked
  moveTo(6, 0);
  type("mul count, 2\n");
  ASSERT_TRUE(waitForMarks(check()));
  EXPECT_GE(sinceChange.elapsed(), LiveCheck::kDelayMilliseconds * 3 / 2 - 100);
  EXPECT_TRUE(text1()->extraSelections().isEmpty()) << describe(text1()->marks());

  // An instruction that is none of the mnemonics is an error, in red.
  type("ret\n");
  ASSERT_TRUE(waitForMarks(check()));
  const std::vector<TextMark> marks = text1()->marks();
  ASSERT_EQ(marks.size(), 1u) << describe(marks);
  EXPECT_EQ(marks[0].severity, Severity::Error);
  EXPECT_EQ(marks[0].line, 7);
  EXPECT_EQ(text1()->extraSelections()[0].format.underlineColor(), QColor(0xE0, 0x00, 0x00));
}

// The marks are those of the file Save writes, read back from the disk as
// tarnel_check reads it, in UTF-8 and in Latin-1 alike.
TEST_F(LiveMarks, MarksAreThoseOfTheSavedFile) {
  struct Case {
    QByteArray bytes;
    int cutLine, cutCharacter;  // the closing quote that a comment cuts off
  };
  const Case cases[] = {
      {"\r\nkiv t {\r\nvar {\r\nvar$ s\r\nvar$ s\r\n}\r\nbegin {\r\n"
       "mov s, \"gr\xC3\xBC\xC3\x9F\";x\r\nprint s\r\n}\r\n}\r\n",
       6, 12},
      {"\r\nkiv t {\r\nvar {\r\nvar$ s\r\nvar$ s\r\n}\r\nbegin {\r\n"
       "mov s, \"gr\xFC\xDF\";x\r\nprint s\r\n}\r\n}\r\n",
       6, 12},
      {"\xEF\xBB\xBF\r\nkiv t {\r\nvar {\r\nvar$ s\r\n}\r\nbegin {\r\n"
       "mov s, \"\xC3\xA9\";x\r\nprint s\r\n}\r\n}\r\n",
       5, 9},
  };
  for (const Case& c : cases) {
    const QString path = dir.filePath("marks.tarnel");
    writeBytes(path, c.bytes);
    window->openFile(path);
    ASSERT_TRUE(waitForMarks(check()));
    const std::vector<TextMark> shown = text1()->marks();
    ASSERT_TRUE(window->save());
    const QByteArray saved = readBytes(path);
    ASSERT_EQ(saved, c.bytes);
    const FileText file = decodeFileBytes(saved);
    std::vector<TextMark> expected =
        placeMarks(checkSource(saved.toStdString()), linesOfText(textForEditor(file.text)),
                   FileForm{file.encoding, true});
    // Shown gravest first, each kind in the checker's order.
    std::stable_sort(expected.begin(), expected.end(),
                     [](const TextMark& a, const TextMark& b) { return a.severity < b.severity; });
    EXPECT_EQ(describe(shown), describe(expected));
    // The cut statement's last character is the same character whichever
    // number of bytes the letters before it take.
    bool quoteMarked = false;
    for (const TextMark& m : shown) {
      quoteMarked |= m.line == c.cutLine && m.start == c.cutCharacter && m.length == 1;
    }
    EXPECT_TRUE(quoteMarked) << describe(shown);
  }
}

// The margin, the marks and their messages number lines as tarnel_check
// does for the file on the disk at that moment: from 1 in a file written
// elsewhere, from 2 in one the editor wrote, with its empty first line.
TEST_F(LiveMarks, MarginAndMessagesNumberTheLinesOfTheFileOnTheDisk) {
  const QByteArray program("kiv t {\nvar {\nvar& n\nvar& n\n}\nbegin {\nprint n\n}\n}\n");
  struct Case {
    QByteArray bytes;
    int firstNumber;
  };
  const Case cases[] = {{program, 1}, {"\r\n" + program, 2}};
  for (const Case& c : cases) {
    const QString path = dir.filePath("numbers.tarnel");
    writeBytes(path, c.bytes);
    ASSERT_TRUE(window->openFile(path));
    window->show();
    ASSERT_TRUE(waitForMarks(check()));
    EXPECT_EQ(text1()->firstLineNumber(), c.firstNumber);
    ASSERT_FALSE(text1()->visibleLineNumbers().empty());
    EXPECT_EQ(text1()->visibleLineNumbers().front().first, c.firstNumber);
    const std::vector<Diagnostic> onDisk = checkSource(c.bytes.toStdString());
    ASSERT_FALSE(onDisk.empty());
    const QString message = QString::fromStdString(onDisk[0].message);
    EXPECT_TRUE(message.contains(QStringLiteral("declared on line %1").arg(2 + c.firstNumber)))
        << message.toStdString();
    const std::vector<TextMark> shown = text1()->marks();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].toolTip, "warning: " + message);
    EXPECT_EQ(shown[0].line, 3);
  }

  // Save writes the empty first line: from then on the file's lines, and
  // so the margin and the messages, count from 2.
  const QString path = dir.filePath("numbers.tarnel");
  writeBytes(path, program);
  ASSERT_TRUE(window->openFile(path));
  ASSERT_TRUE(waitForMarks(check()));
  ASSERT_TRUE(window->save());
  EXPECT_EQ(text1()->firstLineNumber(), 2);
  ASSERT_TRUE(waitForMarks(check()));
  const std::vector<TextMark> shown = text1()->marks();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(
      shown[0].toolTip,
      "warning: " + QString::fromStdString(checkSource(readBytes(path).toStdString())[0].message));
  EXPECT_TRUE(shown[0].toolTip.contains("declared on line 4"));
}

TEST_F(LiveMarks, MarksLeaveTheTextTheUndoHistoryAndTheCommandsAlone) {
  window->show();
  type("kiv a {\n");
  QTextDocument* document = text1()->document();
  const int undoSteps = document->availableUndoSteps();
  ASSERT_TRUE(waitForMarks(check()));
  EXPECT_FALSE(text1()->extraSelections().isEmpty());
  EXPECT_EQ(window->text(), "kiv a {\n");
  EXPECT_EQ(document->availableUndoSteps(), undoSteps);
  EXPECT_EQ(document->availableRedoSteps(), 0);
  while (document->isUndoAvailable()) text1()->undo();
  EXPECT_EQ(window->text(), QString());
  while (document->isRedoAvailable()) text1()->redo();
  EXPECT_EQ(window->text(), "kiv a {\n");

  const QString path = dir.filePath("a.tarnel");
  cmd1.answer(path);
  trigger("Save");
  EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv a {\r\n\r\n"));
  EXPECT_EQ(title(), titleOf(path));
  EXPECT_TRUE(boxes.boxes.empty());
}

// A check gives its marks only when the text is still the one it read;
// checks never overlap, and the text that changed during one is checked
// right after it.
TEST(LiveCheck, DropsResultsOfAnOlderTextAndRunsOneCheckAtATime) {
  SourceTextEdit edit;
  QSemaphore firstMayFinish;
  QMutex mutex;
  QStringList checked;
  std::atomic<int> running{0};
  std::atomic<int> mostAtOnce{0};
  LiveCheck check(
      &edit, [&edit] { return edit.toPlainText(); }, [] { return FileForm(); },
      [&](const QString& text, const FileForm&) {
        const int now = ++running;
        if (now > mostAtOnce) mostAtOnce = now;
        bool first;
        {
          QMutexLocker lock(&mutex);
          first = checked.isEmpty();
          checked << text;
        }
        if (first) firstMayFinish.acquire();
        --running;
        TextMark m;
        m.toolTip = text;
        CheckedText result;
        result.marks.push_back(m);
        return result;
      });
  int shown = 0;
  QObject::connect(&check, &LiveCheck::marksShown, [&shown] { ++shown; });

  edit.setPlainText("one");
  QElapsedTimer started;
  started.start();
  for (;;) {
    QApplication::processEvents();
    QMutexLocker lock(&mutex);
    if (!checked.isEmpty() || started.elapsed() > 10000) break;
  }
  edit.setPlainText("two");
  runEventsFor(LiveCheck::kDelayMilliseconds + 200);  // the pause ends during the first check
  EXPECT_TRUE(check.isBusy());
  firstMayFinish.release();
  ASSERT_TRUE(waitForMarks(check));
  EXPECT_EQ(checked, (QStringList{"one", "two"}));
  EXPECT_EQ(mostAtOnce, 1);
  EXPECT_EQ(shown, 1);
  ASSERT_EQ(edit.marks().size(), 1u);
  EXPECT_EQ(edit.marks()[0].toolTip, "two");
  EXPECT_FALSE(check.isBusy());
}

}  // namespace
