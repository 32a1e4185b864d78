// Finding and replacing in the text area.
#include "find_bar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

namespace {

// The find field's colour while its text is nowhere in the document.
const QColor kNotFound(0xFF, 0xDD, 0xDD);

}  // namespace

FindBar::FindBar(QWidget* parent)
    : QWidget(parent),
      findField_(new QLineEdit(this)),
      replaceField_(new QLineEdit(this)),
      matchCase_(new QCheckBox(QStringLiteral("Match case"), this)),
      replaceRow_(new QWidget(this)),
      replaceLabel_(new QLabel(QStringLiteral("Replace with:"), this)) {
  findField_->setObjectName(QStringLiteral("findField"));
  replaceField_->setObjectName(QStringLiteral("replaceField"));
  matchCase_->setObjectName(QStringLiteral("matchCase"));

  auto* previous = new QPushButton(QStringLiteral("Previous"), this);
  auto* next = new QPushButton(QStringLiteral("Next"), this);
  auto* closeButton = new QToolButton(this);
  closeButton->setText(QStringLiteral("Close"));
  closeButton->setAutoRaise(true);
  auto* replaceOne = new QPushButton(QStringLiteral("Replace"), replaceRow_);
  auto* replaceEvery = new QPushButton(QStringLiteral("Replace All"), replaceRow_);
  for (QPushButton* button : {previous, next, replaceOne, replaceEvery}) {
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
  }

  auto* findLabel = new QLabel(QStringLiteral("Find:"), this);
  findLabel->setBuddy(findField_);
  replaceLabel_->setBuddy(replaceField_);

  auto* replaceLayout = new QHBoxLayout(replaceRow_);
  replaceLayout->setContentsMargins(0, 0, 0, 0);
  replaceLayout->addWidget(replaceField_, 1);
  replaceLayout->addWidget(replaceOne);
  replaceLayout->addWidget(replaceEvery);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setVerticalSpacing(2);
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(findField_, 0, 1);
  grid->addWidget(previous, 0, 2);
  grid->addWidget(next, 0, 3);
  grid->addWidget(matchCase_, 0, 4);
  grid->addWidget(closeButton, 0, 5);
  grid->addWidget(replaceLabel_, 1, 0);
  grid->addWidget(replaceRow_, 1, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  // The label stands in the grid, outside the row, so that both fields
  // start at the same place; it is shown and hidden with the row.
  replaceLabel_->setVisible(false);
  replaceRow_->setVisible(false);

  connect(next, &QPushButton::clicked, this, [this] { findNext(); });
  connect(previous, &QPushButton::clicked, this, [this] { findPrevious(); });
  connect(closeButton, &QToolButton::clicked, this, [this] { close(); });
  connect(replaceOne, &QPushButton::clicked, this, [this] { replace(); });
  connect(replaceEvery, &QPushButton::clicked, this, [this] { replaceAll(); });
  connect(replaceField_, &QLineEdit::returnPressed, this, [this] { replace(); });
  connect(findField_, &QLineEdit::textChanged, this, [this] { markNotFound(false); });
  findField_->installEventFilter(this);
  replaceField_->installEventFilter(this);
}

void FindBar::setEdit(QPlainTextEdit* edit) { edit_ = edit; }

void FindBar::showFind() { showBar(false); }

void FindBar::showReplace() { showBar(true); }

void FindBar::showBar(bool withReplace) {
  if (edit_ != nullptr) {
    const QString selected = edit_->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) {
      findField_->setText(selected);
    }
  }
  replaceRow_->setVisible(withReplace);
  replaceLabel_->setVisible(withReplace);
  setVisible(true);
  findField_->setFocus(Qt::ShortcutFocusReason);
  findField_->selectAll();
}

void FindBar::close() {
  setVisible(false);
  markNotFound(false);
  if (edit_ != nullptr) edit_->setFocus(Qt::OtherFocusReason);
}

bool FindBar::findNext() { return find(false); }

bool FindBar::findPrevious() { return find(true); }

bool FindBar::find(bool backward) {
  if (edit_ == nullptr) return false;
  const QString term = findField_->text();
  if (term.isEmpty()) {
    showFind();
    return false;
  }
  QTextDocument::FindFlags flags;
  if (matchCase_->isChecked()) flags |= QTextDocument::FindCaseSensitively;
  if (backward) flags |= QTextDocument::FindBackward;
  QTextDocument* document = edit_->document();
  const QTextCursor from = edit_->textCursor();
  // Backwards the search starts before the selection, forwards after it,
  // so that the selected match is not found again.
  QTextCursor start(document);
  start.setPosition(backward ? from.selectionStart() : from.selectionEnd());
  QTextCursor found = document->find(term, start, flags);
  QString wrapped;
  if (found.isNull()) {
    QTextCursor otherEnd(document);
    otherEnd.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    found = document->find(term, otherEnd, flags);
    wrapped = backward ? QStringLiteral("Went on from the end of the text.")
                       : QStringLiteral("Went on from the start of the text.");
  }
  if (found.isNull()) {
    markNotFound(true);
    emit statusMessage(QStringLiteral("\"%1\" is not in the text.").arg(term));
    return false;
  }
  markNotFound(false);
  edit_->setTextCursor(found);
  edit_->ensureCursorVisible();
  emit statusMessage(wrapped);
  return true;
}

bool FindBar::selectionIsMatch() const {
  const QString selected = edit_->textCursor().selectedText();
  const Qt::CaseSensitivity sensitivity =
      matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
  return !selected.isEmpty() && selected.compare(findField_->text(), sensitivity) == 0;
}

bool FindBar::replace() {
  if (edit_ == nullptr || findField_->text().isEmpty()) return findNext();
  if (edit_->isReadOnly()) return refuseReadOnly();
  if (selectionIsMatch()) {
    QTextCursor cursor = edit_->textCursor();
    cursor.insertText(replaceField_->text());
    edit_->setTextCursor(cursor);
  }
  return findNext();
}

int FindBar::replaceAll() {
  if (edit_ == nullptr) return 0;
  const QString term = findField_->text();
  if (term.isEmpty()) {
    showReplace();
    return 0;
  }
  if (edit_->isReadOnly()) {
    refuseReadOnly();
    return 0;
  }
  QTextDocument::FindFlags flags;
  if (matchCase_->isChecked()) flags |= QTextDocument::FindCaseSensitively;
  QTextDocument* document = edit_->document();
  QTextCursor edit(document);
  QTextCursor at(document);
  int count = 0;
  for (;;) {
    const QTextCursor found = document->find(term, at, flags);
    if (found.isNull()) break;
    if (count == 0) edit.beginEditBlock();
    edit.setPosition(found.selectionStart());
    edit.setPosition(found.selectionEnd(), QTextCursor::KeepAnchor);
    edit.insertText(replaceField_->text());
    at = edit;  // on after the replacement, which is never searched again
    ++count;
  }
  if (count > 0) edit.endEditBlock();
  markNotFound(count == 0);
  emit statusMessage(count == 0   ? QStringLiteral("\"%1\" is not in the text.").arg(term)
                     : count == 1 ? QStringLiteral("Replaced 1 match.")
                                  : QStringLiteral("Replaced %1 matches.").arg(count));
  return count;
}

bool FindBar::refuseReadOnly() {
  emit statusMessage(QStringLiteral("Nothing was replaced: the text is read-only."));
  return false;
}

void FindBar::markNotFound(bool notFound) {
  QPalette palette = findField_->palette();
  palette.setColor(QPalette::Base, notFound ? kNotFound : QPalette().color(QPalette::Base));
  findField_->setPalette(palette);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
      close();
      return true;
    }
    if (watched == findField_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      if (key->modifiers() & Qt::ShiftModifier) {
        findPrevious();
      } else {
        findNext();
      }
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
