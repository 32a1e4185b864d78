// Checking the text while it is edited.
#include "live_check.h"

#include <malloc.h>

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <utility>

#include "source_text_edit.h"

LiveCheck::LiveCheck(SourceTextEdit* edit, std::function<QString()> text,
                     std::function<FileForm()> form, Checker checker)
    : QObject(edit),
      edit_(edit),
      text_(std::move(text)),
      form_(std::move(form)),
      checker_(std::move(checker)) {
  delay_.setSingleShot(true);
  delay_.setInterval(kDelayMilliseconds);
  connect(&delay_, &QTimer::timeout, this, [this] { startCheck(); });
  connect(&running_, &QFutureWatcher<CheckedText>::finished, this, [this] { checkFinished(); });
  connect(edit_, &QPlainTextEdit::textChanged, this, [this] { textChanged(); });
}

// A check still running works on copies only; its result is dropped.
LiveCheck::~LiveCheck() = default;

bool LiveCheck::isBusy() const {
  return delay_.isActive() || running_.isRunning() || changedWhileRunning_;
}

void LiveCheck::textChanged() {
  ++generation_;
  delay_.start();
}

void LiveCheck::recheck() {
  ++generation_;
  delay_.stop();
  startCheck();
}

void LiveCheck::checkNow() {
  if (marksFitText()) return;
  // A check still running shows its result only if it was given this same
  // text.
  delay_.stop();
  show(checker_(text_(), form_()), generation_);
}

void LiveCheck::show(const CheckedText& checked, quint64 generation) {
  edit_->setMarks(checked.marks);
  counts_ = checked.counts;
  shownGeneration_ = generation;
  emit marksShown();
}

void LiveCheck::startCheck() {
  if (running_.isRunning()) {
    changedWhileRunning_ = true;
    return;
  }
  runningGeneration_ = generation_;
  checkTime_.start();
  const QString text = text_();
  const FileForm form = form_();
  running_.setFuture(
      QtConcurrent::run([checker = checker_, text, form] { return checker(text, form); }));
}

void LiveCheck::checkFinished() {
  delay_.setInterval(static_cast<int>(std::max<qint64>(kDelayMilliseconds, checkTime_.elapsed())));
  if (runningGeneration_ == generation_) show(running_.result(), runningGeneration_);
  // A long text's check frees much memory in many small pieces; given back
  // to the system, it no longer counts against the editor.
  if (checkTime_.elapsed() >= kDelayMilliseconds) malloc_trim(0);
  if (changedWhileRunning_) {
    changedWhileRunning_ = false;
    startCheck();
  }
}
