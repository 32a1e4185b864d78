// LiveCheck keeps the marks of a SourceTextEdit in step with its text: a
// short moment after the last change it checks the text on a worker
// thread, as Save would write it, and shows what was found. A result that
// arrives after a further change is dropped, and at most one check runs at
// a time, so a long text never holds up typing.
#pragma once

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

#include "diagnostic_marks.h"
#include "source_text.h"

class SourceTextEdit;

class LiveCheck : public QObject {
  Q_OBJECT

 public:
  // How long the text must rest before it is checked; as long as the last
  // check took when that was longer, so that a long text is checked less
  // often and checks never take most of the time.
  static constexpr int kDelayMilliseconds = 500;

  // What a check runs, on a worker thread, on a copy of the text.
  using Checker = std::function<CheckedText(const QString& text, const FileForm& form)>;

  // text gives the text as Save takes it and form how it stands in its
  // file, both read on the window's thread when a check starts.
  LiveCheck(SourceTextEdit* edit, std::function<QString()> text, std::function<FileForm()> form,
            Checker checker = checkText);
  ~LiveCheck() override;

  // True while a change waits for its check or a check runs.
  bool isBusy() const;
  // Checks the text again at once: its file's form changed, and with it
  // the line numbers that messages name.
  void recheck();
  // Whether the marks shown are those of the text as it stands now.
  bool marksFitText() const { return shownGeneration_ == generation_; }
  // Brings the marks up to the text as it stands, checking it on the
  // window's thread when they are not: what is done with them next (a fix
  // made) must fit the text. Returns at once when they are.
  void checkNow();
  // What the check of the marks shown found.
  ProblemCounts counts() const { return counts_; }

 signals:
  // The marks of the text as it stands now are shown.
  void marksShown();

 private:
  void textChanged();
  void startCheck();
  void checkFinished();
  void show(const CheckedText& checked, quint64 generation);

  SourceTextEdit* edit_;
  std::function<QString()> text_;
  std::function<FileForm()> form_;
  Checker checker_;
  QTimer delay_;
  QFutureWatcher<CheckedText> running_;
  ProblemCounts counts_;
  QElapsedTimer checkTime_;
  // Counts the changes; a check carries the count its text was taken at.
  quint64 generation_ = 0;
  quint64 runningGeneration_ = 0;
  quint64 shownGeneration_ = ~quint64{0};  // none shown yet
  bool changedWhileRunning_ = false;
};
