// SourceTextEdit, the class of the text area Text1: a plain text editor
// with a margin of line numbers on its left and wavy underlines under the
// places the checker found, each explained by a tool tip. While a program
// is debugged, the margin shows breakpoints as dots and an arrow at the
// line of the next instruction, which is highlighted across the text.
// Neither the numbers, the marks, the breakpoints nor the highlight touch
// the text or its undo history.
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

  // The margin's width in pixels: a column for the breakpoints' dots, then
  // the widest number shown, in the text font, with a little room on
  // either side.
  int lineNumberMarginWidth() const;
  // The dots' column at the margin's left: one line high and as wide.
  int breakpointColumnWidth() const;
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
  // The fixes of the problems marked under the point (in the viewport's
  // coordinates), gravest problem first, each description once.
  std::vector<FixIt> fixesAt(const QPoint& point) const;
  // The problem's mark nearest to position in the text going forward (the
  // first that starts after it) or back (the last that starts before it),
  // wrapping round at the text's end and start. False when no problem is
  // marked.
  bool problemBeside(int position, bool forward, TextMark* found) const;

  // Breakpoints belong to lines of the text (from 0) and move with them
  // as lines are typed or deleted above; a deleted line takes its
  // breakpoint with it.
  bool hasBreakpoint(int line) const;
  // Sets or clears the breakpoint of a line of the text; a line that does
  // not exist is left alone. Says so with breakpointsChanged.
  void toggleBreakpoint(int line);
  void clearBreakpoints();
  // Every line that has a breakpoint, in ascending order.
  std::vector<int> breakpointLines() const;
  // The line at y in the margin's (and the viewport's) coordinates, or -1
  // below the last line.
  int lineAtY(int y) const;

  // The line of the next instruction while a run stands still, or -1 for
  // none. It is highlighted across the text area and marked with an arrow
  // in the margin, and scrolled into view when it is not in view. The
  // highlight is laid on once the window's events run again, never from
  // inside an edit of the document.
  void setExecutionLine(int line);
  int executionLine() const { return executionLine_; }

 signals:
  // A breakpoint was set or cleared, by a click in the margin or a call.
  void breakpointsChanged();

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
    bool isProblem;
    std::vector<FixIt> fixes;
  };
  TextMark shownMark(const PlacedMark& placed) const;

  // A click in the margin (in its coordinates) sets or clears the
  // breakpoint of the line beside it.
  void marginPressed(const QPoint& point);
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
  // Lays the execution line's highlight among the extra selections,
  // keeping the marks' underlines.
  void showExecutionLine();
  void scrollLineIntoView(int line);

  QWidget* margin_;
  std::vector<PlacedMark> marks_;    // gravest kind first
  std::vector<std::size_t> inView_;  // the marks given as extra selections
  bool showingMarks_ = false;
  bool marksInViewQueued_ = false;  // a refresh of the underlines is on its way
  int firstLineNumber_ = 2;
  int reservedLines_ = 0;  // the lines of a text being loaded
  int executionLine_ = -1;
  bool executionLineQueued_ = false;
};
