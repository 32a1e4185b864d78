// The text area's margin and marks: the margin's width and numbers, the
// underlines and their tool tips, and that neither touches the text.
#include "source_text_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>

namespace {

QString numberedLines(int count) {
  QStringList lines;
  for (int i = 0; i < count; ++i) lines << QStringLiteral("line %1").arg(i);
  return lines.join('\n');
}

TextMark mark(int line, int start, int length, Severity severity, const char* tip) {
  TextMark m;
  m.line = line;
  m.start = start;
  m.length = length;
  m.severity = severity;
  m.toolTip = QString::fromUtf8(tip);
  return m;
}

class TextArea : public ::testing::Test {
 protected:
  void SetUp() override {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    edit.setFont(font);
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.resize(400, 300);
  }

  int digit() const { return QFontMetrics(edit.font()).horizontalAdvance(QChar('9')); }
  // The breakpoints' column, one line high and as wide, left of the numbers.
  int dots() const { return QFontMetrics(edit.font()).height(); }

  // The middle of the character at position in the viewport.
  QPoint pointAt(int line, int column) const {
    QTextCursor cursor(edit.document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
    const QRect left = edit.cursorRect(cursor);
    cursor.movePosition(QTextCursor::Right);
    const QRect right = edit.cursorRect(cursor);
    return QPoint((left.left() + right.left()) / 2, left.center().y());
  }

  SourceTextEdit edit;
};

TEST_F(TextArea, MarginIsAsWideAsTheLargestNumberAndTheViewportStartsAfterIt) {
  struct Case {
    int lines;
    int digits;  // of the largest number, lines + 1
  };
  const Case cases[] = {{1, 1}, {8, 1}, {9, 2}, {98, 2}, {99, 3}, {2000, 4}};
  edit.show();
  const int width = edit.width();
  for (const Case& c : cases) {
    edit.setPlainText(numberedLines(c.lines));
    EXPECT_EQ(edit.lineNumberMarginWidth(), dots() + (c.digits + 1) * digit()) << c.lines;
    EXPECT_EQ(edit.lineNumberMargin()->width(), edit.lineNumberMarginWidth()) << c.lines;
    EXPECT_EQ(edit.viewport()->geometry().left(),
              edit.contentsRect().left() + edit.lineNumberMarginWidth())
        << c.lines;
    EXPECT_EQ(edit.width(), width) << c.lines;
  }

  QFont larger = edit.font();
  larger.setPointSize(20);
  edit.setFont(larger);
  EXPECT_EQ(edit.lineNumberMargin()->width(),
            QFontMetrics(larger).height() + 5 * QFontMetrics(larger).horizontalAdvance(QChar('9')));
}

TEST_F(TextArea, MarginNumbersTheLinesAsTheSavedFileFromTheTopOfTheView) {
  edit.setPlainText(numberedLines(300));
  edit.show();
  for (int scrolledTo : {0, 120, 299}) {
    edit.verticalScrollBar()->setValue(scrolledTo);
    const auto numbers = edit.visibleLineNumbers();
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(numbers.front().first, edit.cursorForPosition(QPoint(0, 0)).blockNumber() + 2)
        << scrolledTo;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      const int block = numbers[i].first - 2;
      EXPECT_EQ(numbers[i].first, numbers.front().first + static_cast<int>(i));
      const QTextCursor start(edit.document()->findBlockByNumber(block));
      EXPECT_EQ(numbers[i].second, edit.cursorRect(start).top()) << "line " << numbers[i].first;
      EXPECT_LT(numbers[i].second, edit.viewport()->height());
    }
  }
  EXPECT_EQ(edit.visibleLineNumbers().back().first, 301);
}

TEST_F(TextArea, MarksAreWavyUnderlinesInTheirKindsColourBesideOtherSelections) {
  edit.setPlainText("kiv a {\nret\ninc count;x\n");
  QTextEdit::ExtraSelection own;
  own.cursor = QTextCursor(edit.document());
  own.cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
  own.format.setBackground(Qt::yellow);
  edit.setExtraSelections({own});
  const int undoSteps = edit.document()->availableUndoSteps();

  edit.setMarks({mark(2, 8, 1, Severity::Warning, "warning: cut"),
                 mark(1, 0, 3, Severity::Error, "error: unknown"),
                 mark(0, 4, 1, Severity::Note, "note: perl"),
                 mark(9, 0, 1, Severity::Error, "error: past the text"),
                 mark(0, 5, 40, Severity::Note, "note: clamped")});
  const QList<QTextEdit::ExtraSelection> shown = edit.extraSelections();
  ASSERT_EQ(shown.size(), 5);
  EXPECT_EQ(shown[0].format.background(), QBrush(Qt::yellow));
  struct Drawn {
    const char* text;
    Severity severity;
  };
  // Drawn in this order, so that the gravest lies on top.
  const Drawn drawn[] = {{" {", Severity::Note},
                         {"a", Severity::Note},
                         {"t", Severity::Warning},
                         {"ret", Severity::Error}};
  for (int i = 0; i < 4; ++i) {
    const QTextEdit::ExtraSelection& selection = shown[i + 1];
    EXPECT_EQ(selection.cursor.selectedText(), drawn[i].text) << i;
    EXPECT_EQ(selection.format.underlineStyle(), QTextCharFormat::WaveUnderline) << i;
    EXPECT_EQ(selection.format.underlineColor(), markColor(drawn[i].severity)) << i;
  }

  edit.setMarks({});
  ASSERT_EQ(edit.extraSelections().size(), 1);
  EXPECT_EQ(edit.extraSelections()[0].format.background(), QBrush(Qt::yellow));
  EXPECT_EQ(edit.toPlainText(), "kiv a {\nret\ninc count;x\n");
  EXPECT_EQ(edit.document()->availableUndoSteps(), undoSteps);
  EXPECT_FALSE(edit.document()->isModified());
}

TEST_F(TextArea, MarksFollowEditsUntilReplaced) {
  edit.setPlainText("inc count;x");
  edit.show();
  edit.setMarks({mark(0, 4, 5, Severity::Warning, "warning: cut")});
  QTextCursor typing(edit.document());
  typing.insertText("\n\n  ");
  typing.setPosition(13);  // just after "count"
  typing.insertText("er");
  QApplication::processEvents();
  const std::vector<TextMark> moved = edit.marks();
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].line, 2);
  EXPECT_EQ(moved[0].start, 6);
  EXPECT_EQ(moved[0].length, 5);
  EXPECT_EQ(moved[0].toolTip, "warning: cut");
  // The underline is drawn where the tool tip is found.
  ASSERT_EQ(edit.extraSelections().size(), 1);
  EXPECT_EQ(edit.extraSelections()[0].cursor.selectedText(), "count");

  typing.setPosition(8);
  typing.setPosition(15, QTextCursor::KeepAnchor);  // "counter"
  typing.removeSelectedText();
  QApplication::processEvents();
  EXPECT_TRUE(edit.marks().empty());
  EXPECT_TRUE(edit.extraSelections().isEmpty());
}

TEST_F(TextArea, OnlyTheMarksInViewAreDrawnAndScrollingBringsTheOthers) {
  edit.setPlainText(numberedLines(2000));
  edit.show();
  edit.setMarks({mark(3, 0, 4, Severity::Warning, "warning: near"),
                 mark(1500, 0, 4, Severity::Error, "error: far")});
  ASSERT_EQ(edit.extraSelections().size(), 1);
  EXPECT_EQ(edit.extraSelections()[0].cursor.block().blockNumber(), 3);
  edit.verticalScrollBar()->setValue(1495);
  QApplication::processEvents();
  ASSERT_EQ(edit.extraSelections().size(), 1);
  EXPECT_EQ(edit.extraSelections()[0].cursor.block().blockNumber(), 1500);
  EXPECT_EQ(edit.marks().size(), 2u);
}

TEST_F(TextArea, ToolTipShowsTheMessagesOfTheMarksUnderTheMouse) {
  edit.setPlainText("var& count := 2\nvar& count\n");
  edit.show();
  edit.setMarks({mark(1, 5, 5, Severity::Note, "note: perl starts with this one"),
                 mark(1, 5, 5, Severity::Warning, "warning: already declared on line 2"),
                 mark(0, 5, 5, Severity::Note, "note: the first declaration")});
  EXPECT_EQ(edit.toolTipAt(pointAt(1, 5)),
            "warning: already declared on line 2\nnote: perl starts with this one");
  EXPECT_EQ(edit.toolTipAt(pointAt(1, 9)), edit.toolTipAt(pointAt(1, 5)));
  EXPECT_EQ(edit.toolTipAt(pointAt(0, 7)), "note: the first declaration");
  EXPECT_EQ(edit.toolTipAt(pointAt(1, 4)), QString());  // the blank before
  EXPECT_EQ(edit.toolTipAt(pointAt(0, 12)), QString());
  const QPoint pastTheEnd = pointAt(1, 9) + QPoint(3 * digit(), 0);
  EXPECT_EQ(edit.toolTipAt(pastTheEnd), QString());
  const QPoint belowTheText = pointAt(1, 7) + QPoint(0, 5 * edit.fontMetrics().height());
  EXPECT_EQ(edit.toolTipAt(belowTheText), QString());

  QHelpEvent over(QEvent::ToolTip, pointAt(0, 6), edit.viewport()->mapToGlobal(pointAt(0, 6)));
  QApplication::sendEvent(edit.viewport(), &over);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "note: the first declaration");

  // A long message is broken at blanks into lines of at most 72 characters.
  const QString words = QStringLiteral("word ").repeated(40).trimmed();
  edit.setMarks({mark(0, 0, 3, Severity::Warning, qPrintable("warning: " + words))});
  QHelpEvent overLong(QEvent::ToolTip, pointAt(0, 1), edit.viewport()->mapToGlobal(pointAt(0, 1)));
  QApplication::sendEvent(edit.viewport(), &overLong);
  const QStringList lines = QToolTip::text().split('\n');
  EXPECT_EQ(lines.size(), 3);
  for (const QString& line : lines) EXPECT_LE(line.size(), 72) << line.toStdString();
  EXPECT_EQ(lines.join(' '), "warning: " + words);
  QHelpEvent beside(QEvent::ToolTip, pointAt(0, 4), edit.viewport()->mapToGlobal(pointAt(0, 4)));
  QApplication::sendEvent(edit.viewport(), &beside);
  EXPECT_FALSE(beside.isAccepted());
  QToolTip::hideText();
}

// Counts the resize events of a widget.
class ResizeCounter : public QObject {
 public:
  explicit ResizeCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    count += event->type() == QEvent::Resize;
    return false;
  }
};

// A long text goes in by slices: the same characters as setPlainText would
// give, lone CR and line ends across a slice's edge included, no undo step,
// and a viewport that keeps its width while it goes in (each new width
// lays out every line again). The window's scroll bars are always shown.
TEST_F(TextArea, LoadsALongTextBySlicesAsOneNewText) {
  edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QString text;
  for (int i = 0; i < 30000; ++i) {
    text += QStringLiteral("line %1%2").arg(i).arg(i % 7 == 0 ? "\r" : "\n");
  }
  QPlainTextEdit reference;
  reference.setPlainText(text);

  edit.show();
  edit.setPlainText("old");
  QApplication::processEvents();
  ResizeCounter resizes(edit.viewport());
  edit.loadText(text);
  EXPECT_EQ(edit.document()->toRawText(), reference.document()->toRawText());
  EXPECT_EQ(edit.blockCount(), 30001);
  EXPECT_FALSE(edit.document()->isUndoAvailable());
  EXPECT_EQ(edit.textCursor().position(), 0);
  EXPECT_LE(resizes.count, 1);
  EXPECT_EQ(edit.lineNumberMarginWidth(), dots() + 6 * digit());
  EXPECT_EQ(edit.lineNumberMargin()->width(), edit.lineNumberMarginWidth());

  edit.loadText(QStringLiteral("short"));
  EXPECT_EQ(edit.text(), "short");
  EXPECT_EQ(edit.lineNumberMargin()->width(), dots() + 2 * digit());
}

}  // namespace

namespace {

TEST_F(TextArea, BreakpointsKeepToTheirLinesAndAreDotsNotText) {
  edit.setPlainText(numberedLines(6));
  edit.show();
  QSignalSpy changes(&edit, &SourceTextEdit::breakpointsChanged);
  edit.toggleBreakpoint(2);
  edit.toggleBreakpoint(4);
  edit.toggleBreakpoint(99);  // no such line
  EXPECT_EQ(edit.breakpointLines(), (std::vector<int>{2, 4}));
  EXPECT_EQ(changes.size(), 2);

  // Lines typed above move them; deleting a line takes its breakpoint.
  QTextCursor cursor(edit.document());
  cursor.insertText("new\nnew\n");
  EXPECT_EQ(edit.breakpointLines(), (std::vector<int>{4, 6}));
  cursor.setPosition(edit.document()->findBlockByNumber(4).position());
  cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  EXPECT_EQ(edit.breakpointLines(), (std::vector<int>{5}));
  EXPECT_EQ(edit.text(), "new\nnew\nline 0\nline 1\nline 3\nline 4\nline 5");

  // A click in the margin beside a line sets its breakpoint, and clears it.
  const auto numbers = edit.visibleLineNumbers();
  ASSERT_GT(numbers.size(), 1u);
  QTest::mouseClick(edit.lineNumberMargin(), Qt::LeftButton, {}, QPoint(2, numbers[1].second + 2));
  EXPECT_EQ(edit.breakpointLines(), (std::vector<int>{1, 5}));
  QTest::mouseClick(edit.lineNumberMargin(), Qt::LeftButton, {}, QPoint(2, numbers[1].second + 2));
  edit.clearBreakpoints();
  EXPECT_TRUE(edit.breakpointLines().empty());
}

// The highlight of the next instruction's line is laid on from the event
// loop, even when it is asked for in the middle of an edit of the
// document, whose cursors the edit still moves.
TEST_F(TextArea, ExecutionLineIsHighlightedOnceTheEditIsOver) {
  edit.show();
  edit.setMarks({mark(0, 0, 4, Severity::Warning, "w")});
  int line = 0;
  QObject::connect(edit.document(), &QTextDocument::contentsChange, &edit,
                   [&] { edit.setExecutionLine(line++ % 3); });
  edit.loadText(numberedLines(40000));
  QApplication::processEvents();
  edit.setExecutionLine(30000);
  EXPECT_EQ(edit.executionLine(), 30000);
  QApplication::processEvents();
  int highlighted = -1;
  for (const QTextEdit::ExtraSelection& selection : edit.extraSelections()) {
    if (selection.format.property(QTextFormat::FullWidthSelection).toBool()) {
      highlighted = selection.cursor.blockNumber();
    }
  }
  EXPECT_EQ(highlighted, 30000);
  // Scrolled into view.
  const int firstInView = edit.visibleLineNumbers().front().first - edit.firstLineNumber();
  EXPECT_LE(firstInView, 30000);
  EXPECT_GT(firstInView + 10, 30000);
  edit.setExecutionLine(-1);
  QApplication::processEvents();
  for (const QTextEdit::ExtraSelection& selection : edit.extraSelections()) {
    EXPECT_FALSE(selection.format.property(QTextFormat::FullWidthSelection).toBool());
  }
}

}  // namespace
