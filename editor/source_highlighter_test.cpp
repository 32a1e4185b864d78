#include "source_highlighter.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
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

TEST(SourceHighlighter, PaintsWithoutChangingTheText) {
  QPlainTextEdit edit;
  auto* highlighter = new SourceHighlighter(edit.document());
  const QString text = QStringLiteral("begin {\n  print \"x\" ; note\n}\n");
  edit.setPlainText(text);
  EXPECT_EQ(edit.toPlainText(), text);
  const QTextBlock second = edit.document()->findBlockByNumber(1);
  const QList<QTextLayout::FormatRange> ranges = second.layout()->formats();
  ASSERT_FALSE(ranges.isEmpty());
  EXPECT_EQ(ranges.first().start, 2);
  EXPECT_EQ(ranges.first().length, 5);
  EXPECT_EQ(ranges.first().format, highlighter->formatFor(Kind::Mnemonic));
}

}  // namespace
