// SourceTextEdit, the class of the text area Text1: a plain text editor
// with a margin of line numbers on its left and wavy underlines under the
// places the checker found, each explained by a tool tip. Neither the
// numbers nor the marks touch the text or its undo history.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>
#include <utility>
#include <vector>

#include "diagnostic_marks.h"

class SourceTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit SourceTextEdit(QWidget* parent = nullptr);

  // The text with LF line ends, every character as typed.
  QString text() const;
  // Replaces the text by text, as a new start without an undo step. A long
  // text goes in by slices of whole lines, the window painted between them
  // but no key or click taken until all of it is in: its first lines show
  // at once, and nothing can change it half loaded.
  void loadText(const QString& text);

  // The margin's width in pixels: the widest number shown, in the text
  // font, with a little room on either side.
  int lineNumberMarginWidth() const;
  // The numbers the margin shows now, each with the top of its line in the
  // margin's coordinates, counted from firstLineNumber().
  std::vector<std::pair<int, int>> visibleLineNumbers() const;
  // The number of the text's first line in its file: 2 after the empty line
  // Save writes before the text, 1 in a file without it (see FileForm).
  int firstLineNumber() const { return firstLineNumber_; }
  void setFirstLineNumber(int number);
  QWidget* lineNumberMargin() const { return margin_; }

  // Replaces the marks by marks (their lines and characters as in the text
  // now). Other extra selections stay as they are.
  void setMarks(const std::vector<TextMark>& marks);
  // The marks, where they stand now, gravest kind first; marks whose text
  // was deleted are left out.
  std::vector<TextMark> marks() const;
  // The tool tip of every mark under the point (in the viewport's
  // coordinates), one per line; empty where there is none.
  QString toolTipAt(const QPoint& point) const;

 protected:
  bool viewportEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class LineNumberMargin;

  // A mark as a range of document positions, moved along with every edit.
  struct PlacedMark {
    int start;
    int end;
    Severity severity;
    QString toolTip;
  };

  void updateMarginWidth();
  void updateMargin(const QRect& rect, int dy);
  void paintMargin(QPaintEvent* event);
  void moveMarks(int from, int removed, int added);
  // Gives the marks on the lines in view to the text area as extra
  // selections, unless those are the ones it has and anew is false. Only
  // those: laying out every marked line of a long text would hold up the
  // window.
  void showMarksInView(bool anew);
  // The position of the character under point, or -1 when it is over no
  // character (past a line's end, below the last line).
  int characterAt(const QPoint& point) const;

  QWidget* margin_;
  std::vector<PlacedMark> marks_;    // gravest kind first
  std::vector<std::size_t> inView_;  // the marks given as extra selections
  bool showingMarks_ = false;
  bool marksInViewQueued_ = false;  // a refresh of the underlines is on its way
  int firstLineNumber_ = 2;
  int reservedLines_ = 0;  // the lines of a text being loaded
};
