// The text area's line-number margin and its marks.
#include "source_text_edit.h"

#include <QColor>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>

namespace {

// Tells the marks' extra selections from any others the text area shows.
constexpr int kMarkProperty = QTextFormat::UserProperty + 0x7A;
// Tells the execution line's extra selection from the others.
constexpr int kExecutionProperty = QTextFormat::UserProperty + 0x7B;

const QColor kBreakpointDot(0xD0, 0x20, 0x20);
const QColor kExecutionArrow(0xF5, 0xC0, 0x10);
const QColor kExecutionArrowEdge(0x80, 0x60, 0x00);
const QColor kExecutionLineBackground(0xFF, 0xF3, 0x9A);

// The mark a line with a breakpoint carries; the block owns it, so that it
// moves with the line and goes when the line is deleted.
class BreakpointData : public QTextBlockUserData {};

const QColor kMarginBackground(0xEE, 0xEE, 0xEE);

// The widest line of a tool tip, in characters. A tool tip does not wrap
// plain text by itself, and wraps rich text into a narrow column.
constexpr int kToolTipWidth = 72;

// text with its lines broken at blanks so that none is wider than
// kToolTipWidth, unless a single word is.
QString wrapped(const QString& text) {
  QStringList out;
  for (const QString& line : text.split(QChar('\n'))) {
    QString current;
    for (const QString& word : line.split(QChar(' '))) {
      if (!current.isEmpty() && current.size() + 1 + word.size() > kToolTipWidth) {
        out << current;
        current.clear();
      } else if (!current.isEmpty()) {
        current += QChar(' ');
      }
      current += word;
    }
    out << current;
  }
  return out.join(QChar('\n'));
}
const QColor kMarginNumbers(0x80, 0x80, 0x80);

}  // namespace

// The margin is a child of the text area over the room its viewport leaves
// free on the left; the text area paints it.
class LineNumberMargin : public QWidget {
 public:
  explicit LineNumberMargin(SourceTextEdit* edit) : QWidget(edit), edit_(edit) {
    setObjectName(QStringLiteral("lineNumberMargin"));
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void paintEvent(QPaintEvent* event) override { edit_->paintMargin(event); }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      edit_->marginPressed(event->position().toPoint());
      event->accept();
    } else {
      QWidget::mousePressEvent(event);
    }
  }
  void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }

 private:
  SourceTextEdit* edit_;
};

SourceTextEdit::SourceTextEdit(QWidget* parent)
    : QPlainTextEdit(parent), margin_(new LineNumberMargin(this)) {
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { updateMarginWidth(); });
  connect(this, &QPlainTextEdit::updateRequest, this,
          [this](const QRect& rect, int dy) { updateMargin(rect, dy); });
  connect(document(), &QTextDocument::contentsChange, this,
          [this](int from, int removed, int added) { moveMarks(from, removed, added); });
  updateMarginWidth();
}

QString SourceTextEdit::text() const {
  // The raw text keeps no-break spaces that toPlainText would turn into
  // blanks; only the paragraph separators become line ends.
  QString raw = document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, QChar('\n'));
  return raw;
}

void SourceTextEdit::loadText(const QString& text) {
  // About what the window thread lays down in a few milliseconds.
  constexpr qsizetype kSlice = 128 * 1024;
  QTextDocument* document = this->document();
  setPlainText(QString());
  // The margin takes the width of the text's last number before the text
  // goes in: each change of its width lays every line out anew, and gives
  // each a layout of its own that it keeps.
  reservedLines_ = static_cast<int>(text.count(QChar('\n')) + text.count(QChar('\r'))) + 1;
  updateMarginWidth();
  document->setUndoRedoEnabled(false);
  QTextCursor cursor(document);
  for (qsizetype at = 0; at < text.size();) {
    qsizetype end = text.size();
    if (end - at > kSlice) {
      const qsizetype lineEnd = text.indexOf(QChar('\n'), at + kSlice);
      if (lineEnd >= 0) end = lineEnd + 1;
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text.mid(at, end - at));
    at = end;
    if (at < text.size()) {
      document->setModified(false);
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
  }
  document->setUndoRedoEnabled(true);
  reservedLines_ = 0;
  updateMarginWidth();
  moveCursor(QTextCursor::Start);
}

int SourceTextEdit::lineNumberMarginWidth() const {
  int digits = 1;
  const int lines = std::max(blockCount(), reservedLines_);
  for (int largest = lines - 1 + firstLineNumber_; largest >= 10; largest /= 10) ++digits;
  // Half a digit's room on either side of the widest number.
  return breakpointColumnWidth() + (digits + 1) * fontMetrics().horizontalAdvance(QLatin1Char('9'));
}

int SourceTextEdit::breakpointColumnWidth() const { return fontMetrics().height(); }

void SourceTextEdit::setFirstLineNumber(int number) {
  if (number == firstLineNumber_) return;
  firstLineNumber_ = number;
  updateMarginWidth();
  margin_->update();
}

void SourceTextEdit::updateMarginWidth() {
  const int width = lineNumberMarginWidth();
  if (width != viewportMargins().left()) setViewportMargins(width, 0, 0, 0);
  const QRect area = contentsRect();
  margin_->setGeometry(QRect(area.left(), area.top(), width, area.height()));
}

void SourceTextEdit::updateMargin(const QRect& rect, int dy) {
  if (dy != 0) {
    margin_->scroll(0, dy);
  } else {
    margin_->update(0, rect.y(), margin_->width(), rect.height());
  }
  // Scrolled, resized or laid out anew: other lines may be in view. The
  // request can come from inside an edit of the document, whose cursors the
  // document is still moving; replacing the underlines' cursors then would
  // free cursors it is about to touch, so the underlines follow once the
  // edit is over.
  if ((dy != 0 || rect.contains(viewport()->rect())) && !marksInViewQueued_) {
    marksInViewQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          marksInViewQueued_ = false;
          showMarksInView(false);
        },
        Qt::QueuedConnection);
  }
}

void SourceTextEdit::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  updateMarginWidth();
}

void SourceTextEdit::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) updateMarginWidth();
}

std::vector<std::pair<int, int>> SourceTextEdit::visibleLineNumbers() const {
  std::vector<std::pair<int, int>> numbers;
  QTextBlock block = firstVisibleBlock();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  const int bottomOfView = viewport()->height();
  while (block.isValid() && top < bottomOfView) {
    const qreal height = blockBoundingRect(block).height();
    if (block.isVisible() && top + height > 0) {
      numbers.emplace_back(block.blockNumber() + firstLineNumber_, qRound(top));
    }
    top += height;
    block = block.next();
  }
  return numbers;
}

void SourceTextEdit::paintMargin(QPaintEvent* event) {
  QPainter painter(margin_);
  painter.fillRect(event->rect(), kMarginBackground);
  painter.setFont(font());
  painter.setRenderHint(QPainter::Antialiasing);
  const int right = margin_->width() - fontMetrics().horizontalAdvance(QLatin1Char('9')) / 2;
  const int height = fontMetrics().height();
  const int column = breakpointColumnWidth();
  const QTextDocument* document = this->document();
  for (const auto& [number, top] : visibleLineNumbers()) {
    const int line = number - firstLineNumber_;
    painter.setPen(kMarginNumbers);
    painter.drawText(column, top, right - column, height, Qt::AlignRight | Qt::AlignTop,
                     QString::number(number));
    const QRectF cell(0, top, column, height);
    if (document->findBlockByNumber(line).userData() != nullptr) {
      const qreal diameter = column * 0.7;
      painter.setPen(Qt::NoPen);
      painter.setBrush(kBreakpointDot);
      painter.drawEllipse(cell.center(), diameter / 2, diameter / 2);
    }
    if (line == executionLine_) {
      // An arrow pointing at the text, over the dot when there is one.
      const qreal inset = column * 0.15;
      const QRectF box = cell.adjusted(inset, inset, -inset, -inset);
      QPainterPath arrow;
      arrow.moveTo(box.left(), box.top() + box.height() * 0.3);
      arrow.lineTo(box.center().x(), box.top() + box.height() * 0.3);
      arrow.lineTo(box.center().x(), box.top());
      arrow.lineTo(box.right(), box.center().y());
      arrow.lineTo(box.center().x(), box.bottom());
      arrow.lineTo(box.center().x(), box.top() + box.height() * 0.7);
      arrow.lineTo(box.left(), box.top() + box.height() * 0.7);
      arrow.closeSubpath();
      painter.setPen(kExecutionArrowEdge);
      painter.setBrush(kExecutionArrow);
      painter.drawPath(arrow);
    }
  }
}

int SourceTextEdit::lineAtY(int y) const {
  QTextBlock block = firstVisibleBlock();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  if (y < top) return block.isValid() ? block.blockNumber() : -1;
  while (block.isValid()) {
    const qreal bottom = top + blockBoundingRect(block).height();
    if (block.isVisible() && y < bottom) return block.blockNumber();
    top = bottom;
    block = block.next();
  }
  return -1;
}

void SourceTextEdit::marginPressed(const QPoint& point) {
  const int line = lineAtY(point.y());
  if (line >= 0) toggleBreakpoint(line);
}

bool SourceTextEdit::hasBreakpoint(int line) const {
  return document()->findBlockByNumber(line).userData() != nullptr;
}

void SourceTextEdit::toggleBreakpoint(int line) {
  QTextBlock block = document()->findBlockByNumber(line);
  if (!block.isValid()) return;
  // setUserData deletes the mark the block had.
  block.setUserData(block.userData() != nullptr ? nullptr : new BreakpointData);
  margin_->update();
  emit breakpointsChanged();
}

void SourceTextEdit::clearBreakpoints() {
  bool cleared = false;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block.userData() == nullptr) continue;
    block.setUserData(nullptr);
    cleared = true;
  }
  margin_->update();
  if (cleared) emit breakpointsChanged();
}

std::vector<int> SourceTextEdit::breakpointLines() const {
  std::vector<int> lines;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block.userData() != nullptr) lines.push_back(block.blockNumber());
  }
  return lines;
}

void SourceTextEdit::setExecutionLine(int line) {
  if (!document()->findBlockByNumber(line).isValid()) line = -1;
  if (line >= 0) scrollLineIntoView(line);
  if (line == executionLine_) return;
  executionLine_ = line;
  margin_->update();
  // The extra selections hold cursors that the document moves while it is
  // being edited; they are replaced only once no edit is under way.
  if (!executionLineQueued_) {
    executionLineQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          executionLineQueued_ = false;
          showExecutionLine();
        },
        Qt::QueuedConnection);
  }
}

void SourceTextEdit::showExecutionLine() {
  QList<QTextEdit::ExtraSelection> selections;
  const QTextBlock block = document()->findBlockByNumber(executionLine_);
  if (executionLine_ >= 0 && block.isValid()) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(block);
    selection.format.setBackground(kExecutionLineBackground);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selection.format.setProperty(kExecutionProperty, true);
    selections.append(selection);
  }
  for (const QTextEdit::ExtraSelection& selection : extraSelections()) {
    if (!selection.format.hasProperty(kExecutionProperty)) selections.append(selection);
  }
  showingMarks_ = true;
  setExtraSelections(selections);
  showingMarks_ = false;
}

void SourceTextEdit::scrollLineIntoView(int line) {
  // Without wrapping, the vertical scroll bar counts lines: its value is
  // the first line in view.
  QScrollBar* bar = verticalScrollBar();
  const int rows = std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
  const int first = bar->value();
  if (line >= first && line < first + rows - 1) return;
  bar->setValue(std::max(0, line - rows / 3));
}

void SourceTextEdit::setMarks(const std::vector<TextMark>& marks) {
  marks_.clear();
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Note}) {
    for (const TextMark& mark : marks) {
      if (mark.severity != severity) continue;
      const QTextBlock block = document()->findBlockByNumber(mark.line);
      if (!block.isValid()) continue;
      const int length = block.length() - 1;
      const int start = qBound(0, mark.start, length);
      const int end = qBound(start, mark.start + mark.length, length);
      if (end == start) continue;
      marks_.push_back({block.position() + start, block.position() + end, severity, mark.toolTip,
                        mark.isProblem, mark.fixes});
    }
  }
  showMarksInView(true);
}

void SourceTextEdit::moveMarks(int from, int removed, int added) {
  // As a selection moves: text typed at a mark's start pushes it along,
  // text typed at its end stays outside, deleted text takes its part of
  // the mark with it.
  const auto moved = [&](int position, bool isEnd) {
    if (position < from || (isEnd && position == from && removed == 0)) return position;
    if (position < from + removed) return from;
    return position - removed + added;
  };
  for (PlacedMark& mark : marks_) {
    mark.start = moved(mark.start, false);
    mark.end = std::max(mark.start, moved(mark.end, true));
  }
  // Once the text area has laid out the change, the underlines are drawn
  // anew from these places, so that they and the tool tips agree.
  if (!marks_.empty()) {
    QMetaObject::invokeMethod(
        this, [this] { showMarksInView(true); }, Qt::QueuedConnection);
  }
}

void SourceTextEdit::showMarksInView(bool anew) {
  if (showingMarks_) return;
  const int first = firstVisibleBlock().position();
  const QTextBlock last = cursorForPosition(QPoint(0, viewport()->height())).block();
  const int end = last.position() + last.length();
  std::vector<std::size_t> inView;
  for (std::size_t i = 0; i < marks_.size(); ++i) {
    if (marks_[i].start < end && marks_[i].end > first && marks_[i].end > marks_[i].start) {
      inView.push_back(i);
    }
  }
  if (!anew && inView == inView_) return;
  inView_ = inView;

  QList<QTextEdit::ExtraSelection> selections;
  for (const QTextEdit::ExtraSelection& selection : extraSelections()) {
    if (!selection.format.hasProperty(kMarkProperty)) selections.append(selection);
  }
  // Gravest last, so that its underline lies on top where ranges overlap.
  for (auto i = inView.rbegin(); i != inView.rend(); ++i) {
    const PlacedMark& mark = marks_[*i];
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document());
    selection.cursor.setPosition(mark.start);
    selection.cursor.setPosition(mark.end, QTextCursor::KeepAnchor);
    selection.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    selection.format.setUnderlineColor(markColor(mark.severity));
    selection.format.setProperty(kMarkProperty, true);
    selections.append(selection);
  }
  showingMarks_ = true;
  setExtraSelections(selections);
  showingMarks_ = false;
}

TextMark SourceTextEdit::shownMark(const PlacedMark& placed) const {
  const QTextBlock block = document()->findBlock(placed.start);
  TextMark mark;
  mark.line = block.blockNumber();
  mark.start = placed.start - block.position();
  mark.length = placed.end - placed.start;
  mark.severity = placed.severity;
  mark.toolTip = placed.toolTip;
  mark.isProblem = placed.isProblem;
  mark.fixes = placed.fixes;
  return mark;
}

std::vector<TextMark> SourceTextEdit::marks() const {
  std::vector<TextMark> shown;
  for (const PlacedMark& placed : marks_) {
    if (placed.end != placed.start) shown.push_back(shownMark(placed));
  }
  return shown;
}

bool SourceTextEdit::problemBeside(int position, bool forward, TextMark* found) const {
  const PlacedMark* nearest = nullptr;  // the nearest on the way
  const PlacedMark* wrapped = nullptr;  // the first past the text's end or start
  for (const PlacedMark& placed : marks_) {
    if (!placed.isProblem || placed.end == placed.start) continue;
    const bool onTheWay = forward ? placed.start > position : placed.start < position;
    const auto nearer = [forward](const PlacedMark& a, const PlacedMark* b) {
      return b == nullptr || (forward ? a.start < b->start : a.start > b->start);
    };
    if (onTheWay && nearer(placed, nearest)) nearest = &placed;
    if (nearer(placed, wrapped)) wrapped = &placed;
  }
  const PlacedMark* chosen = nearest != nullptr ? nearest : wrapped;
  if (chosen == nullptr) return false;
  *found = shownMark(*chosen);
  return true;
}

std::vector<FixIt> SourceTextEdit::fixesAt(const QPoint& point) const {
  std::vector<FixIt> fixes;
  const int at = characterAt(point);
  if (at < 0) return fixes;
  for (const PlacedMark& placed : marks_) {
    if (!placed.isProblem || at < placed.start || at >= placed.end) continue;
    for (const FixIt& fix : placed.fixes) {
      const bool known = std::any_of(fixes.begin(), fixes.end(), [&fix](const FixIt& f) {
        return f.description == fix.description;
      });
      if (!known) fixes.push_back(fix);
    }
  }
  return fixes;
}

int SourceTextEdit::characterAt(const QPoint& point) const {
  const QTextCursor cursor = cursorForPosition(point);
  const QRect caret = cursorRect(cursor);
  if (point.y() < caret.top() || point.y() > caret.bottom()) return -1;
  if (point.x() < caret.left()) return cursor.positionInBlock() > 0 ? cursor.position() - 1 : -1;
  return cursor.atBlockEnd() ? -1 : cursor.position();
}

QString SourceTextEdit::toolTipAt(const QPoint& point) const {
  const int at = characterAt(point);
  if (at < 0) return QString();
  QStringList tips;
  for (const PlacedMark& placed : marks_) {
    if (placed.start <= at && at < placed.end && !tips.contains(placed.toolTip)) {
      tips.append(placed.toolTip);
    }
  }
  return tips.join(QChar('\n'));
}

bool SourceTextEdit::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QString tip = toolTipAt(help->pos());
  if (tip.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), wrapped(tip), viewport());
  }
  return true;
}
