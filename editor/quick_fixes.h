// QuickFixes makes the checker's repairs in the text area and finds its
// problems: a right-click on a marked word offers that problem's fixes
// ("Fix: remove the blank after the comma"), Edit's Fix All Problems makes
// every safe fix as one edit that one Undo takes back, F8 and Shift+F8 go
// to the next and the previous problem, and a label in the status bar
// counts them ("2 errors, 1 warning").
//
// Fixes are made by the checker's own functions on the bytes Save would
// write, the same that tarnel_check --fix makes on the file, so that the
// editor and the tool never disagree on what a fix does.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "diagnostic.h"
#include "source_text.h"

class LiveCheck;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class SourceTextEdit;

// The menu items the quick fixes answer, made by the window.
struct QuickFixActions {
  QAction* fixAll = nullptr;
  QAction* nextProblem = nullptr;
  QAction* previousProblem = nullptr;
};

class QuickFixes : public QObject {
  Q_OBJECT

 public:
  // form gives how the text stands in its file, as the checks are given it.
  // The text area, the check, the status bar and the actions must outlive
  // the quick fixes.
  QuickFixes(SourceTextEdit* edit, LiveCheck* check, std::function<FileForm()> form,
             QStatusBar* statusBar, const QuickFixActions& actions, QObject* parent = nullptr);

  // The text area's context menu for a click at point (in its viewport's
  // coordinates): the fixes of the problems marked there, each as
  // "Fix: " and its description, then the usual entries. The marks are
  // brought up to the text first, so that the fixes fit it.
  std::unique_ptr<QMenu> contextMenuAt(const QPoint& point);

  // Makes one fix, found by a check of the text as it stands now. False,
  // with the reason in the status bar, when it cannot be made.
  bool applyFix(const FixIt& fix);
  // Makes every safe fix, round after round as tarnel_check --fix does, as
  // one edit.
  void fixAll();
  // Puts the cursor on the next (or previous) problem, wrapping round, and
  // says in the status bar what it is, with the line as the margin numbers it.
  void goToProblem(bool forward);
  // While a debugged program holds the text, no fix is made.
  void setTextHeld(bool held);

 signals:
  void statusMessage(const QString& text);

 private:
  // Whether fixes may be made now; says why not in the status bar.
  bool mayFix();
  // Puts the fixed bytes' text in place of the text as one undoable edit.
  // origins gives, for each line of the fixed bytes, the line of the bytes
  // before that it stems from (both from 1; fixes break lines, never join
  // them). Only the lines that differ are changed, within their line, so
  // that the lines between keep their breakpoints and the cursor and the
  // view stay where they were.
  void replaceText(const QByteArray& fixedBytes, const std::vector<int>& origins);
  void showCounts();

  SourceTextEdit* edit_;
  LiveCheck* check_;
  std::function<FileForm()> form_;
  QuickFixActions actions_;
  QLabel* counts_;
  bool held_ = false;
};
