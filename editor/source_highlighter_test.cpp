#include "source_highlighter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {

using Kind = SourceHighlighter::Kind;

// One letter per character: . plain, m mnemonic, l label, k keyword,
// s string, c comment.
QString kindsOf(const QString& line) {
  QString letters;
  for (Kind kind : SourceHighlighter::classifyLine(line)) {
    switch (kind) {
      case Kind::Plain:
        letters += '.';
        break;
      case Kind::Mnemonic:
        letters += 'm';
        break;
      case Kind::Label:
        letters += 'l';
        break;
      case Kind::Keyword:
        letters += 'k';
        break;
      case Kind::String:
        letters += 's';
        break;
      case Kind::Comment:
        letters += 'c';
        break;
    }
  }
  return letters;
}

TEST(SourceHighlighter, ClassifiesEachPartOfALine) {
  struct Case {
    const char* line;
    const char* kinds;
  };
  const Case cases[] = {
      {"kiv demo {", "kkk......."},
      {"VAR {", "kkk.."},
      {"var& count := 10", "kkkk............"},
      {"var$ s := \"a:b\"", "kkkk......sssss"},
      {"  MOV total, 5", "..mmm........."},
      {"movx a", "......"},
      {"print \"a;b\"", "mmmmm.ssccc"},
      {"print \"mov, x: y\" ; add", "mmmmm.sssssssssss.ccccc"},
      {"loop:", "lllll"},
      {" loop: inc x", "llllll......"},
      {"print \"open", "mmmmm.sssss"},
      {"; jmp", "ccccc"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kindsOf(QString::fromLatin1(c.line)), QString::fromLatin1(c.kinds)) << c.line;
  }
}

// The first range of a line's colours, as "start+length".
QString firstColour(const QTextBlock& block) {
  const QList<QTextLayout::FormatRange> ranges = block.layout()->formats();
  if (ranges.isEmpty()) return QStringLiteral("none");
  return QStringLiteral("%1+%2").arg(ranges.first().start).arg(ranges.first().length);
}

TEST(SourceHighlighter, PaintsWithoutChangingTheText) {
  QPlainTextEdit edit;
  new SourceHighlighter(&edit);
  const QString text = QStringLiteral("begin {\n  print \"x\" ; note\n}\n");
  edit.setPlainText(text);
  edit.show();
  QApplication::processEvents();
  EXPECT_EQ(edit.toPlainText(), text);
  EXPECT_FALSE(edit.document()->isUndoAvailable());
  const QTextBlock second = edit.document()->findBlockByNumber(1);
  const QList<QTextLayout::FormatRange> ranges = second.layout()->formats();
  ASSERT_FALSE(ranges.isEmpty());
  EXPECT_EQ(ranges.first().start, 2);
  EXPECT_EQ(ranges.first().length, 5);
  EXPECT_EQ(ranges.first().format, SourceHighlighter::formatFor(Kind::Mnemonic));
}

// A long text: the lines in view are coloured, the others only when they
// come into view, and a changed line at once, on its new characters.
TEST(SourceHighlighter, ColoursTheLinesInViewAndEachLineAsItChanges) {
  QPlainTextEdit edit;
  edit.resize(300, 200);
  new SourceHighlighter(&edit);
  QStringList lines;
  for (int i = 0; i < 5000; ++i) lines << QStringLiteral("    mov a,b");
  edit.setPlainText(lines.join('\n'));
  edit.show();
  QApplication::processEvents();
  QTextDocument* document = edit.document();
  const auto coloured = [&](int line) {
    return document->findBlockByNumber(line).userState() == SourceHighlighter::kColoured;
  };
  EXPECT_TRUE(coloured(0));
  EXPECT_FALSE(coloured(2500));
  EXPECT_FALSE(coloured(4999));

  edit.verticalScrollBar()->setValue(2500);
  QApplication::processEvents();
  EXPECT_TRUE(coloured(2500));
  EXPECT_EQ(firstColour(document->findBlockByNumber(2501)), "4+3");

  // Typed in front of the mnemonic: its colour moves with it.
  QTextCursor cursor(document->findBlockByNumber(2501));
  cursor.insertText("  ");
  EXPECT_EQ(firstColour(document->findBlockByNumber(2501)), "6+3");
  // A new line typed in view is coloured before it is painted.
  cursor.insertText("print x\n");
  QApplication::processEvents();
  EXPECT_EQ(firstColour(document->findBlockByNumber(2501)), "2+5");
  EXPECT_EQ(firstColour(document->findBlockByNumber(2502)), "4+3");

  int colouredLines = 0;
  for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
    colouredLines += block.userState() == SourceHighlighter::kColoured;
  }
  EXPECT_LT(colouredLines, 200);
}

}  // namespace
