// Colours for source programs in the text area: mnemonics, labels, the
// block keywords, quoted strings and comments. It only paints; the text
// itself is never changed.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QTextDocument;

class SourceHighlighter : public QSyntaxHighlighter {
  Q_OBJECT

 public:
  // What a stretch of a line is painted as.
  enum class Kind { Plain, Mnemonic, Label, Keyword, String, Comment };

  explicit SourceHighlighter(QTextDocument* document);

  // The kind of every character of one line, as highlightBlock paints it.
  // Letters are compared without regard to case, as the translators fold
  // the whole source to lower case before reading it.
  static QVector<Kind> classifyLine(const QString& line);

  QTextCharFormat formatFor(Kind kind) const;

 protected:
  void highlightBlock(const QString& text) override;
};
