// DebugPanel, the dock beside the text while a program is debugged: the
// variables (name, type, value; those that changed since the run last
// stood still stand out), the stack (top first), the six flags, the
// program's output as it prints, and the line where the program's input
// is typed, with the words queued for it.
#pragma once

#include <QDockWidget>
#include <QString>
#include <QStringDecoder>
#include <cstdint>
#include <string>
#include <vector>

#include "source_text.h"

class DebugController;
class DebugSession;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTreeWidget;

class DebugPanel : public QDockWidget {
  Q_OBJECT

 public:
  // The most bytes of output the view shows anew: the end of a long output,
  // as a terminal keeps it. Laying out more each time a program that
  // prints without end is shown would hold up the window.
  static constexpr int kShownOutputBytes = 32 * 1024;

  explicit DebugPanel(QWidget* parent = nullptr);

  // How the program's output bytes and typed input are read and written:
  // as the source file is.
  void setEncoding(TextEncoding encoding) { encoding_ = encoding; }
  TextEncoding encoding() const { return encoding_; }

  // A new run: no value counts as changed at its first stop.
  void beginRun();
  // Shows the variables, stack and flags of a run that stands still.
  void showState(const DebugSession& session);
  // No run: the variables, stack, flags and queue are emptied; the output
  // stays for reading.
  void clearState();
  // Brings the output view up to the controller's output: adds what is new,
  // or shows it anew after it was cut back.
  void showOutput(const DebugController& controller);
  // The input the program has not read yet, as the core holds it.
  void showQueuedInput(const std::string& pending);
  // Puts the keys in the input line.
  void focusInput();
  void setInputEnabled(bool enabled);

  QTreeWidget* variablesView() const { return variables_; }
  QListWidget* stackView() const { return stack_; }
  QTreeWidget* flagsView() const { return flags_; }
  QPlainTextEdit* outputView() const { return output_; }
  QLineEdit* inputField() const { return input_; }
  QLabel* queueLabel() const { return queue_; }

 signals:
  // A line typed into the input field, Enter pressed; without its line end.
  void inputEntered(const QString& text);
  // Ctrl+D in the input field: the program's input has ended.
  void inputEnded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showOutputAnew(const DebugController& controller);
  QString decoded(const char* bytes, std::size_t size);

  QTreeWidget* variables_;
  QListWidget* stack_;
  QTreeWidget* flags_;
  QPlainTextEdit* output_;
  QLineEdit* input_;
  QLabel* queue_;
  TextEncoding encoding_ = TextEncoding::Utf8;

  // The values at the last stop shown, by the engine's index, to mark
  // what changed since.
  std::vector<std::string> shownValues_;
  bool haveShownValues_ = false;

  // Where the output view stands: the run's output up to shownEnd_, as it
  // stood after outputCuts_ cuts.
  uint64_t shownEnd_ = 0;
  uint64_t shownCuts_ = ~uint64_t{0};
  QStringDecoder decoder_;
};
