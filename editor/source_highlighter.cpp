// The rules follow what the translators see: a semicolon starts a comment
// even between double quotes, quotes have no escape character, a line with
// a colon outside quotes is a label (":=" is a declaration's value), and a word is a mnemonic or
// keyword only as a whole word.
#include "source_highlighter.h"

#include <QColor>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "mnemonics.h"

namespace {

const QSet<QString>& mnemonicTexts() {
#define TARNEL_MNEMONIC_TEXT(text, code, operands, opcode) QStringLiteral(text),
  static const QSet<QString> texts{TARNEL_MNEMONICS(TARNEL_MNEMONIC_TEXT)};
#undef TARNEL_MNEMONIC_TEXT
  return texts;
}

const QSet<QString>& keywordTexts() {
  static const QSet<QString> texts{QStringLiteral("kiv"),   QStringLiteral("var"),
                                   QStringLiteral("begin"), QStringLiteral("var$"),
                                   QStringLiteral("var&"),  QStringLiteral("var#")};
  return texts;
}

// Characters that may belong to a word: letters, digits, the underscore,
// and the type marks of the declaration keywords.
bool isWordChar(QChar c) {
  return c.isLetterOrNumber() || c == QChar('_') || c == QChar('$') || c == QChar('&') ||
         c == QChar('#');
}

void fill(QVector<SourceHighlighter::Kind>& kinds, qsizetype from, qsizetype to,
          SourceHighlighter::Kind kind) {
  for (qsizetype i = from; i < to; ++i) kinds[i] = kind;
}

}  // namespace

SourceHighlighter::SourceHighlighter(QPlainTextEdit* edit) : QObject(edit), edit_(edit) {
  // The text area asks for an update before every paint, of a change, a
  // scroll or a new size alike.
  connect(edit_, &QPlainTextEdit::updateRequest, this, [this] { colourLinesInView(); });
  connect(edit_->document(), &QTextDocument::contentsChange, this,
          [this](int from, int, int added) { textChanged(from, added); });
}

QVector<SourceHighlighter::Kind> SourceHighlighter::classifyLine(const QString& line) {
  const qsizetype comment = line.indexOf(QChar(';'));
  const qsizetype end = comment < 0 ? line.size() : comment;
  QVector<Kind> kinds(line.size(), Kind::Plain);
  fill(kinds, end, line.size(), Kind::Comment);

  qsizetype colon = -1;
  bool quoted = false;
  for (qsizetype i = 0; i < end; ++i) {
    if (line[i] == QChar('"')) {
      quoted = !quoted;
      kinds[i] = Kind::String;
    } else if (quoted) {
      kinds[i] = Kind::String;
    } else if (line[i] == QChar(':') && colon < 0 && (i + 1 >= end || line[i + 1] != QChar('='))) {
      colon = i;
    }
  }
  if (colon >= 0) {
    fill(kinds, 0, colon + 1, Kind::Label);
    return kinds;
  }

  for (qsizetype i = 0; i < end;) {
    if (kinds[i] != Kind::Plain || !isWordChar(line[i])) {
      ++i;
      continue;
    }
    qsizetype wordEnd = i;
    while (wordEnd < end && kinds[wordEnd] == Kind::Plain && isWordChar(line[wordEnd])) ++wordEnd;
    const QString word = line.mid(i, wordEnd - i).toLower();
    if (mnemonicTexts().contains(word)) {
      fill(kinds, i, wordEnd, Kind::Mnemonic);
    } else if (keywordTexts().contains(word)) {
      fill(kinds, i, wordEnd, Kind::Keyword);
    }
    i = wordEnd;
  }
  return kinds;
}

QTextCharFormat SourceHighlighter::formatFor(Kind kind) {
  QTextCharFormat format;
  switch (kind) {
    case Kind::Plain:
      break;
    case Kind::Mnemonic:
      format.setForeground(QColor(0x00, 0x00, 0xC0));
      break;
    case Kind::Label:
      format.setForeground(QColor(0x80, 0x00, 0x80));
      break;
    case Kind::Keyword:
      format.setForeground(QColor(0x00, 0x00, 0x80));
      format.setFontWeight(QFont::Bold);
      break;
    case Kind::String:
      format.setForeground(QColor(0xA0, 0x00, 0x00));
      break;
    case Kind::Comment:
      format.setForeground(QColor(0x00, 0x80, 0x00));
      break;
  }
  return format;
}

void SourceHighlighter::colour(const QTextBlock& block) {
  const QVector<Kind> kinds = classifyLine(block.text());
  QList<QTextLayout::FormatRange> ranges;
  qsizetype start = 0;
  while (start < kinds.size()) {
    qsizetype stop = start + 1;
    while (stop < kinds.size() && kinds[stop] == kinds[start]) ++stop;
    if (kinds[start] != Kind::Plain) {
      ranges.append(
          {static_cast<int>(start), static_cast<int>(stop - start), formatFor(kinds[start])});
    }
    start = stop;
  }
  QTextBlock coloured = block;
  coloured.layout()->setFormats(ranges);
  coloured.setUserState(kColoured);
  // Lays the line out anew with its colours; this changes no text, so no
  // one who watches the text hears of it.
  edit_->document()->markContentsDirty(block.position(), block.length());
}

void SourceHighlighter::colourLinesInView() {
  if (colouring_) return;
  const QScopedValueRollback<bool> guard(colouring_, true);
  // The lines from the top of the viewport to its bottom, and two more, as
  // a scroll by a line shows them next.
  QTextBlock block = edit_->cursorForPosition(QPoint(0, 0)).block();
  const QTextBlock last = edit_->cursorForPosition(QPoint(0, edit_->viewport()->height())).block();
  int beyond = 0;
  for (; block.isValid() && beyond <= 2; block = block.next()) {
    if (block.isVisible() && block.userState() != kColoured) colour(block);
    if (beyond > 0 || block == last) ++beyond;
  }
}

void SourceHighlighter::textChanged(int from, int added) {
  // A changed line that had its colours gets them again at once, before
  // the text area lays it out, so that no colour stands on the wrong
  // characters; new lines get theirs when they come into view.
  QTextDocument* document = edit_->document();
  const QTextBlock last = document->findBlock(from + added);
  for (QTextBlock block = document->findBlock(from); block.isValid(); block = block.next()) {
    if (block.userState() == kColoured) colour(block);
    if (block == last) break;
  }
}
