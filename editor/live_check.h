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
  using Checker = std::function<std::vector<TextMark>(const QString& text, const FileForm& form)>;

  // text gives the text as Save takes it and form how it stands in its
  // file, both read on the window's thread when a check starts.
  LiveCheck(SourceTextEdit* edit, std::function<QString()> text, std::function<FileForm()> form,
            Checker checker = marksForText);
  ~LiveCheck() override;

  // True while a change waits for its check or a check runs.
  bool isBusy() const;
  // Checks the text again at once: its file's form changed, and with it
  // the line numbers that messages name.
  void recheck();

 signals:
  // The marks of the text as it stands now are shown.
  void marksShown();

 private:
  void textChanged();
  void startCheck();
  void checkFinished();

  SourceTextEdit* edit_;
  std::function<QString()> text_;
  std::function<FileForm()> form_;
  Checker checker_;
  QTimer delay_;
  QFutureWatcher<std::vector<TextMark>> running_;
  QElapsedTimer checkTime_;
  // Counts the changes; a check carries the count its text was taken at.
  quint64 generation_ = 0;
  quint64 runningGeneration_ = 0;
  bool changedWhileRunning_ = false;
};
