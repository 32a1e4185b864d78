// Colours for source programs in the text area: mnemonics, labels, the
// block keywords, quoted strings and comments. It only paints; the text
// itself is never changed.
//
// A line's colours depend on that line alone, so only the lines in view
// are coloured, when they come into view, and a line again when it
// changes: opening or editing a long text costs no more than a short one.
// A line that has its colours carries kColoured as its block's user state.
#pragma once

#include <QObject>
#include <QTextCharFormat>
#include <QVector>

class QPlainTextEdit;
class QTextBlock;

class SourceHighlighter : public QObject {
  Q_OBJECT

 public:
  // What a stretch of a line is painted as.
  enum class Kind { Plain, Mnemonic, Label, Keyword, String, Comment };

  // The user state of a block whose line has its colours.
  static constexpr int kColoured = 1;

  // Colours edit's lines from now on; a child of edit.
  explicit SourceHighlighter(QPlainTextEdit* edit);

  // The kind of every character of one line, as it is painted. Letters are
  // compared without regard to case, as the translators fold the whole
  // source to lower case before reading it.
  static QVector<Kind> classifyLine(const QString& line);

  static QTextCharFormat formatFor(Kind kind);

  // Colours the lines in view that have no colours yet. Runs by itself
  // before the text area paints.
  void colourLinesInView();

 private:
  void colour(const QTextBlock& block);
  void textChanged(int from, int added);

  QPlainTextEdit* edit_;
  bool colouring_ = false;
};
