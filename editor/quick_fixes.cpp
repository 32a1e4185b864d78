// The checker's repairs made in the text area, and the way to its problems.
#include "quick_fixes.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "diagnostic_marks.h"
#include "fix_apply.h"
#include "live_check.h"
#include "source_text_edit.h"

namespace {

std::string toStdString(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QByteArray toBytes(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// The origins (see QuickFixes::replaceText) of the lines of a text of
// lineCount lines after one fix: each of its edits lies within a line and
// breaks it where its replacement holds a line break.
std::vector<int> originsAfterFix(int lineCount, const FixIt& fix) {
  std::vector<int> breaks(static_cast<std::size_t>(lineCount), 0);
  for (const FixEdit& edit : fix.edits) {
    if (edit.line < 1 || edit.line > lineCount) continue;
    breaks[static_cast<std::size_t>(edit.line - 1)] +=
        static_cast<int>(std::count(edit.replacement.begin(), edit.replacement.end(), '\n'));
  }
  std::vector<int> origins;
  for (int line = 1; line <= lineCount; ++line) {
    origins.insert(origins.end(), static_cast<std::size_t>(breaks[line - 1]) + 1, line);
  }
  return origins;
}

// The lines of before that the fixes changed, each with what it becomes
// (line breaks included), found by the origins of after's lines; false
// when the origins do not describe after as lines of before broken and
// changed, so that the changed part is better replaced whole.
bool changedLines(const QStringList& before, const QStringList& after,
                  const std::vector<int>& origins, int firstLineNumber,
                  std::vector<std::pair<int, QString>>* changed) {
  qsizetype next = 0;  // the first line of after not yet given to a line of before
  for (qsizetype line = 0; line < before.size(); ++line) {
    QStringList becomes;
    while (next < after.size()) {
      // after's line `next` is the fixed bytes' line next + firstLineNumber.
      const std::size_t at = static_cast<std::size_t>(next + firstLineNumber - 1);
      if (at >= origins.size()) return false;
      const qsizetype origin = origins[at] - firstLineNumber;
      if (origin < line) return false;
      if (origin > line) break;
      becomes << after[next++];
    }
    if (becomes.isEmpty()) return false;
    const QString text = becomes.join(QChar('\n'));
    if (text != before[line]) changed->emplace_back(static_cast<int>(line), text);
  }
  return next == after.size();
}

}  // namespace

QuickFixes::QuickFixes(SourceTextEdit* edit, LiveCheck* check, std::function<FileForm()> form,
                       QStatusBar* statusBar, const QuickFixActions& actions, QObject* parent)
    : QObject(parent),
      edit_(edit),
      check_(check),
      form_(std::move(form)),
      actions_(actions),
      counts_(new QLabel) {
  counts_->setObjectName(QStringLiteral("problemsLabel"));
  statusBar->addPermanentWidget(counts_);
  connect(check_, &LiveCheck::marksShown, this, [this] { showCounts(); });

  edit_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(edit_, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
    const std::unique_ptr<QMenu> menu = contextMenuAt(point);
    menu->exec(edit_->viewport()->mapToGlobal(point));
  });
  connect(actions_.fixAll, &QAction::triggered, this, [this] { fixAll(); });
  connect(actions_.nextProblem, &QAction::triggered, this, [this] { goToProblem(true); });
  connect(actions_.previousProblem, &QAction::triggered, this, [this] { goToProblem(false); });
}

std::unique_ptr<QMenu> QuickFixes::contextMenuAt(const QPoint& point) {
  check_->checkNow();
  std::unique_ptr<QMenu> menu(edit_->createStandardContextMenu(point));
  const std::vector<FixIt> fixes = edit_->fixesAt(point);
  if (fixes.empty()) return menu;
  QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
  for (const FixIt& fix : fixes) {
    auto* action =
        new QAction(QStringLiteral("Fix: ") + QString::fromStdString(fix.description), menu.get());
    action->setEnabled(!held_);
    connect(action, &QAction::triggered, this, [this, fix] { applyFix(fix); });
    menu->insertAction(first, action);
  }
  if (first != nullptr) menu->insertSeparator(first);
  return menu;
}

bool QuickFixes::mayFix() {
  if (held_) {
    emit statusMessage(QStringLiteral("No fix is made while a program is debugged"));
    return false;
  }
  if (!formHoldsText(edit_->text(), form_())) {
    emit statusMessage(
        QStringLiteral("No fix is made: the text holds characters its Latin-1 file cannot keep"));
    return false;
  }
  return true;
}

bool QuickFixes::applyFix(const FixIt& fix) {
  if (!mayFix()) return false;
  // A fix names places in the text that was checked; after any change it
  // may name the wrong ones.
  if (!check_->marksFitText()) {
    emit statusMessage(QStringLiteral("The text has changed since: ask for its fixes again"));
    return false;
  }
  const FixApplication made =
      applyFixes(toStdString(bytesForChecking(edit_->text(), form_())), {fix});
  if (made.applied.empty()) {
    emit statusMessage(QStringLiteral("The fix does not fit the text: ask for its fixes again"));
    return false;
  }
  const int lineCount = static_cast<int>(std::count(made.text.begin(), made.text.end(), '\n')) + 1;
  replaceText(toBytes(made.text), originsAfterFix(lineCount, fix));
  emit statusMessage(QStringLiteral("Fixed: ") + QString::fromStdString(fix.description));
  return true;
}

void QuickFixes::fixAll() {
  if (!mayFix()) return;
  const SafeFixes fixed = fixSafely(toStdString(bytesForChecking(edit_->text(), form_())));
  const std::size_t count = fixed.applied.size();
  if (count == 0) {
    emit statusMessage(QStringLiteral("Nothing to fix: no problem has a safe fix"));
    return;
  }
  replaceText(toBytes(fixed.text), fixed.lineOrigins);
  emit statusMessage(count == 1 ? QStringLiteral("Made 1 fix")
                                : QStringLiteral("Made %1 fixes").arg(count));
}

void QuickFixes::replaceText(const QByteArray& fixedBytes, const std::vector<int>& origins) {
  const QString before = edit_->text();
  const QString after = editorTextOfCheckedBytes(fixedBytes, form_());
  QTextCursor cursor(edit_->document());
  cursor.beginEditBlock();
  std::vector<std::pair<int, QString>> changed;
  if (changedLines(before.split(QChar('\n')), after.split(QChar('\n')), origins,
                   form_().firstLineNumber(), &changed)) {
    // From the last line up, so that the lines above keep their numbers.
    for (auto line = changed.rbegin(); line != changed.rend(); ++line) {
      const QTextBlock block = edit_->document()->findBlockByNumber(line->first);
      cursor.setPosition(block.position());
      cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
      cursor.insertText(line->second);
    }
  } else {
    // The part from the first change to the last, never between the two
    // halves of a surrogate pair.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head]) ++head;
    if (head > 0 && before[head - 1].isHighSurrogate()) --head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
      ++tail;
    }
    if (tail > 0 && before[before.size() - tail].isLowSurrogate()) --tail;
    cursor.setPosition(static_cast<int>(head));
    cursor.setPosition(static_cast<int>(before.size() - tail), QTextCursor::KeepAnchor);
    cursor.insertText(after.mid(head, after.size() - tail - head));
  }
  cursor.endEditBlock();
}

void QuickFixes::goToProblem(bool forward) {
  TextMark mark;
  if (!edit_->problemBeside(edit_->textCursor().position(), forward, &mark)) {
    emit statusMessage(QStringLiteral("No problem is marked"));
    return;
  }
  QTextCursor cursor(edit_->document()->findBlockByNumber(mark.line));
  cursor.setPosition(cursor.position() + mark.start);
  edit_->setTextCursor(cursor);
  edit_->ensureCursorVisible();
  emit statusMessage(
      QStringLiteral("Line %1: %2").arg(edit_->firstLineNumber() + mark.line).arg(mark.toolTip));
}

void QuickFixes::setTextHeld(bool held) {
  held_ = held;
  actions_.fixAll->setEnabled(!held);
}

void QuickFixes::showCounts() { counts_->setText(problemCountsText(check_->counts())); }
