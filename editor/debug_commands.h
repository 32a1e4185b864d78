// DebugCommands, the Debug menu's commands: they start a run on the text in
// the window (no file is saved or written), step it forwards and back, and
// show where it stands: the line of the next instruction highlighted in
// the text, the dock's views, the steps taken and why the run stopped in
// the status bar. While a run stands between two records the text is
// read-only, so that its lines stay those the program was assembled from.
//
// The run is given the bytes the file would hold, so its lines are the
// file's, the numbers the margin shows; a line of the text (a block) is
// that number less the text's first line number.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "debug_controller.h"
#include "source_text.h"

class DebugPanel;
class QAction;
class QLabel;
class QMainWindow;
class QStatusBar;
class SourceTextEdit;

// The menu items the commands answer, made by the window.
struct DebugActions {
  QAction* startOrContinue = nullptr;
  QAction* step = nullptr;
  QAction* runToCursor = nullptr;
  QAction* pause = nullptr;
  QAction* stop = nullptr;
  QAction* stepBack = nullptr;
  QAction* reverseContinue = nullptr;
  QAction* toggleBreakpoint = nullptr;
  QAction* clearBreakpoints = nullptr;
};

// What a run is started on: the text as its file would hold it.
struct DebugSource {
  std::string path;         // the name the run goes by
  std::string bytes;        // the file's bytes for the text as it is now
  int firstLineNumber = 2;  // the text's first line in those bytes
  TextEncoding encoding = TextEncoding::Utf8;
};

class DebugCommands : public QObject {
  Q_OBJECT

 public:
  // source gives the text as it stands now. The window, the text area and
  // the actions must outlive the commands; the dock is added to the
  // window, at the place the settings remember.
  DebugCommands(QMainWindow* window, SourceTextEdit* edit, QStatusBar* statusBar,
                const DebugActions& actions, std::function<DebugSource()> source,
                QObject* parent = nullptr);
  ~DebugCommands() override;

  DebugController& controller() { return controller_; }
  DebugPanel* panel() const { return panel_; }
  // A run stands or goes on: the text is read-only.
  bool holdsText() const;

  // The commands, one per menu item.
  void startOrContinue();
  void step();
  void runToCursor();
  void pause();
  void stop();
  void stepBack();
  void reverseContinue();
  void toggleBreakpoint();
  void clearBreakpoints();

  // Keeps the dock's place for the next start of the editor.
  void saveLayout();

 signals:
  // A line for the status bar, shown for timeout milliseconds (0: until
  // the next).
  void statusMessage(const QString& text, int timeout);
  // The assembler refused the text: the marks should show why at once.
  void startRefused();
  // The text became read-only (a run holds it) or editable again: the
  // items that change the text follow.
  void textHeld(bool held);

 protected:
  // Keys that would type into the read-only text go to the input line
  // while the program waits for input, and otherwise say why nothing
  // happens.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A run to command: the one that stands, or a new one on the text as it
  // is now (the old one dropped when the text changed since it began).
  // False when the assembler refused the text.
  bool ensureRun();
  bool restartIfEnded();
  // Shows the dock; the first time without a remembered place, at a
  // height that leaves the text the larger part of the window.
  void showPanel();
  bool runMatchesText() const;
  void stopRun(const QString& why);
  void stopped(StopReason reason);
  void showProgress();
  void updateTextAndActions();
  void syncBreakpoints();
  void textChanged(int removed, int added);
  QString stopText(StopReason reason, uint64_t stepsBefore) const;
  // The margin's number for a line of the run's source.
  int shownLine(int sourceLine) const;
  QString stepsText() const;
  void say(const QString& text, int timeout = 15000);

  QMainWindow* window_;
  SourceTextEdit* edit_;
  DebugActions actions_;
  std::function<DebugSource()> source_;
  DebugController controller_;
  DebugPanel* panel_;
  QLabel* steps_;

  QString runText_;           // the text the run was assembled from
  int runFirstLine_ = 2;      // its first line's number in the run's source
  uint64_t stepsBefore_ = 0;  // when the goal began
  bool goingBack_ = false;
  QString startNote_;  // what the assembler left out, said with the first stop
  bool changeQueued_ = false;
  bool held_ = false;
  bool placed_ = false;  // the dock has a place: remembered, or given once
};
