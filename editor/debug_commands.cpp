// The Debug menu's commands; see debug_commands.h.
#include "debug_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>
#include <QTextDocument>

#include "debug_panel.h"
#include "source_text_edit.h"

namespace {

const QString kSettingsOrganisation = QStringLiteral("tarnel");
const QString kSettingsApplication = QStringLiteral("tarnel_ide");
const QString kLayoutKey = QStringLiteral("debug/windowState");
// The dock's least height when it first comes up, in pixels.
constexpr int kPanelHeight = 160;

QString counted(uint64_t count, const char* one, const char* many) {
  return QString::number(count) + QChar(' ') + QString::fromLatin1(count == 1 ? one : many);
}

QString keyOf(const QAction* action) {
  return action->shortcut().toString(QKeySequence::NativeText);
}

// A key that types into a text or deletes from it.
bool typesIntoText(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
      return true;
    default:
      return !key.text().isEmpty() && key.text().at(0).isPrint();
  }
}

}  // namespace

DebugCommands::DebugCommands(QMainWindow* window, SourceTextEdit* edit, QStatusBar* statusBar,
                             const DebugActions& actions, std::function<DebugSource()> source,
                             QObject* parent)
    : QObject(parent),
      window_(window),
      edit_(edit),
      actions_(actions),
      source_(std::move(source)),
      panel_(new DebugPanel(window)),
      steps_(new QLabel) {
  window_->addDockWidget(Qt::BottomDockWidgetArea, panel_);
  const QSettings settings(kSettingsOrganisation, kSettingsApplication);
  placed_ = window_->restoreState(settings.value(kLayoutKey).toByteArray());
  // The dock comes up when a run starts, where it was last.
  panel_->hide();
  connect(panel_, &QDockWidget::dockLocationChanged, this, [this] { saveLayout(); });
  connect(panel_, &QDockWidget::topLevelChanged, this, [this] { saveLayout(); });

  steps_->setObjectName(QStringLiteral("stepsLabel"));
  statusBar->addPermanentWidget(steps_);
  steps_->hide();

  // The keys work from the dock too, also when it floats in a window of
  // its own.
  for (QAction* action :
       {actions_.startOrContinue, actions_.step, actions_.runToCursor, actions_.pause,
        actions_.stop, actions_.stepBack, actions_.reverseContinue, actions_.toggleBreakpoint,
        actions_.clearBreakpoints}) {
    action->setShortcutContext(Qt::ApplicationShortcut);
  }
  connect(actions_.startOrContinue, &QAction::triggered, this, [this] { startOrContinue(); });
  connect(actions_.step, &QAction::triggered, this, [this] { step(); });
  connect(actions_.runToCursor, &QAction::triggered, this, [this] { runToCursor(); });
  connect(actions_.pause, &QAction::triggered, this, [this] { pause(); });
  connect(actions_.stop, &QAction::triggered, this, [this] { stop(); });
  connect(actions_.stepBack, &QAction::triggered, this, [this] { stepBack(); });
  connect(actions_.reverseContinue, &QAction::triggered, this, [this] { reverseContinue(); });
  connect(actions_.toggleBreakpoint, &QAction::triggered, this, [this] { toggleBreakpoint(); });
  connect(actions_.clearBreakpoints, &QAction::triggered, this, [this] { clearBreakpoints(); });

  connect(&controller_, &DebugController::running, this, [this] {
    updateTextAndActions();
    say(QStringLiteral("Running: %1 pauses it").arg(keyOf(actions_.pause)), 0);
  });
  connect(&controller_, &DebugController::progressed, this, [this] { showProgress(); });
  connect(&controller_, &DebugController::stopped, this,
          [this](StopReason reason) { stopped(reason); });
  connect(&controller_, &DebugController::note, this, [this](const QString& text) { say(text); });
  connect(&controller_, &DebugController::inputChanged, this, [this] {
    if (controller_.hasRun()) panel_->showQueuedInput(controller_.session().pendingInput());
  });
  connect(panel_, &DebugPanel::inputEntered, this, [this](const QString& line) {
    if (!controller_.hasRun()) return;
    const QByteArray bytes =
        panel_->encoding() == TextEncoding::Latin1 ? line.toLatin1() : line.toUtf8();
    controller_.feedInput(bytes.toStdString() + '\n');
  });
  connect(panel_, &DebugPanel::inputEnded, this, [this] {
    if (!controller_.hasRun()) return;
    controller_.endInput();
    say(QStringLiteral("The input has ended: input now reads the empty text"));
  });

  connect(edit_, &SourceTextEdit::breakpointsChanged, this, [this] { syncBreakpoints(); });
  connect(edit_->document(), &QTextDocument::contentsChange, this,
          [this](int, int removed, int added) { textChanged(removed, added); });
  edit_->installEventFilter(this);
  updateTextAndActions();
}

DebugCommands::~DebugCommands() = default;

bool DebugCommands::holdsText() const {
  return controller_.hasRun() && controller_.phase() != DebugController::Phase::Ended;
}

void DebugCommands::say(const QString& text, int timeout) { emit statusMessage(text, timeout); }

int DebugCommands::shownLine(int sourceLine) const {
  return sourceLine - runFirstLine_ + edit_->firstLineNumber();
}

QString DebugCommands::stepsText() const {
  return counted(controller_.session().stepsTaken(), "step", "steps");
}

bool DebugCommands::runMatchesText() const { return edit_->text() == runText_; }

bool DebugCommands::ensureRun() {
  if (controller_.hasRun()) {
    if (runMatchesText()) return true;
    stopRun(QString());
  }
  const DebugSource source = source_();
  std::vector<std::string> messages;
  if (!controller_.start(source.path, source.bytes, &messages)) {
    const int errors = static_cast<int>(messages.size()) - 1;
    say(QStringLiteral("Nothing runs: %1 (%2 in all; the marks show where)")
            .arg(QString::fromStdString(messages.empty() ? std::string() : messages.front()),
                 counted(static_cast<uint64_t>(std::max(errors, 1)), "error", "errors")));
    emit startRefused();
    return false;
  }
  runText_ = edit_->text();
  runFirstLine_ = source.firstLineNumber;
  // An unknown instruction is reported and left out, as tarnel does; the
  // first stop says so.
  startNote_ = messages.empty() ? QString()
                                : QStringLiteral(" (left out, as tarnel does: %1)")
                                      .arg(QString::fromStdString(messages.front()));
  panel_->setEncoding(source.encoding);
  panel_->beginRun();
  panel_->setInputEnabled(true);
  showPanel();
  steps_->setText(stepsText());
  steps_->show();
  syncBreakpoints();
  return true;
}

// Forward commands on a run that has ended start it again from its first
// record.
bool DebugCommands::restartIfEnded() {
  if (controller_.phase() != DebugController::Phase::Ended) return false;
  panel_->beginRun();
  controller_.restart();
  return true;
}

void DebugCommands::startOrContinue() {
  if (!ensureRun() || controller_.phase() == DebugController::Phase::Running) return;
  restartIfEnded();
  stepsBefore_ = controller_.session().stepsTaken();
  goingBack_ = false;
  controller_.continueRun();
}

void DebugCommands::step() {
  const bool fresh = !controller_.hasRun() || !runMatchesText();
  if (!ensureRun() || controller_.phase() == DebugController::Phase::Running) return;
  // A new run stands before its first instruction: that is the first stop.
  if (fresh || restartIfEnded()) {
    stopped(StopReason::None);
    return;
  }
  stepsBefore_ = controller_.session().stepsTaken();
  goingBack_ = false;
  controller_.step();
}

void DebugCommands::runToCursor() {
  if (!ensureRun() || controller_.phase() == DebugController::Phase::Running) return;
  restartIfEnded();
  const int line = edit_->textCursor().blockNumber() + runFirstLine_;
  const PlaceResult place = controller_.session().map().resolveLine(line);
  if (place.record < 0) {
    stopped(StopReason::None);
    say(QStringLiteral("Line %1 has no instruction to run to, nor has any line after it")
            .arg(shownLine(line)));
    return;
  }
  stepsBefore_ = controller_.session().stepsTaken();
  goingBack_ = false;
  controller_.runTo(place.record);
}

void DebugCommands::pause() { controller_.pause(); }

void DebugCommands::stop() {
  if (!controller_.hasRun()) return;
  stopRun(QStringLiteral("The run was stopped after %1").arg(stepsText()));
}

void DebugCommands::stepBack() {
  if (!controller_.hasRun()) {
    say(QStringLiteral("There is no run to step back in: %1 or %2 starts one")
            .arg(keyOf(actions_.startOrContinue), keyOf(actions_.step)));
    return;
  }
  if (!runMatchesText()) {
    stopRun(QStringLiteral("The text changed since the run began, so its steps cannot be taken "
                           "back: %1 starts a new run")
                .arg(keyOf(actions_.step)));
    return;
  }
  if (controller_.phase() == DebugController::Phase::Running) return;
  stepsBefore_ = controller_.session().stepsTaken();
  goingBack_ = true;
  controller_.stepBack();
}

void DebugCommands::reverseContinue() {
  if (!controller_.hasRun() || !runMatchesText()) {
    stepBack();  // says why not
    return;
  }
  if (controller_.phase() == DebugController::Phase::Running) return;
  syncBreakpoints();
  stepsBefore_ = controller_.session().stepsTaken();
  goingBack_ = true;
  controller_.reverseContinue();
}

void DebugCommands::toggleBreakpoint() {
  edit_->toggleBreakpoint(edit_->textCursor().blockNumber());
}

void DebugCommands::clearBreakpoints() { edit_->clearBreakpoints(); }

void DebugCommands::syncBreakpoints() {
  if (!controller_.hasRun()) return;
  std::vector<int> lines = edit_->breakpointLines();
  for (int& line : lines) line += runFirstLine_;
  controller_.setBreakpointLines(lines);
}

void DebugCommands::showPanel() {
  panel_->show();
  panel_->raise();
  if (placed_) return;
  // The first time, below the text, which keeps the larger part.
  placed_ = true;
  window_->resizeDocks({panel_}, {std::max(kPanelHeight, window_->height() * 2 / 5)}, Qt::Vertical);
}

void DebugCommands::stopRun(const QString& why) {
  controller_.stop();
  runText_.clear();
  edit_->setExecutionLine(-1);
  panel_->clearState();
  panel_->setInputEnabled(false);
  steps_->hide();
  updateTextAndActions();
  if (!why.isEmpty()) say(why);
}

void DebugCommands::textChanged(int removed, int added) {
  // A change of the colours alone comes as a change of equal lengths.
  if (!controller_.hasRun() || removed == added || changeQueued_) return;
  // Stopping the run moves the highlight, which must not happen inside the
  // document's edit.
  changeQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        changeQueued_ = false;
        if (!controller_.hasRun() || runMatchesText()) return;
        // After the end of a run the learner edits; while a run stands the
        // text was replaced (New, Open).
        stopRun(holdsText() ? QStringLiteral("The run was stopped: the text was replaced")
                            : QString());
      },
      Qt::QueuedConnection);
}

void DebugCommands::showProgress() {
  panel_->showOutput(controller_);
  steps_->setText(stepsText());
}

void DebugCommands::stopped(StopReason reason) {
  const DebugSession& session = controller_.session();
  const bool ended = controller_.phase() == DebugController::Phase::Ended;
  panel_->showOutput(controller_);
  panel_->showState(session);
  panel_->showQueuedInput(session.pendingInput());
  steps_->setText(stepsText());
  steps_->show();
  edit_->setExecutionLine(ended || session.line() <= 0 ? -1 : session.line() - runFirstLine_);
  updateTextAndActions();
  if (reason == StopReason::WaitingForInput) {
    panel_->focusInput();
    say(QStringLiteral("the program is waiting for input"), 0);
    return;
  }
  say(stopText(reason, stepsBefore_) + startNote_);
  startNote_.clear();
}

QString DebugCommands::stopText(StopReason reason, uint64_t stepsBefore) const {
  const DebugSession& session = controller_.session();
  const QString here = QString::number(shownLine(session.line()));
  switch (reason) {
    case StopReason::None:
      if (session.ended()) break;
      return QStringLiteral("Ready at line %1: %2 steps, %3 runs on%4")
          .arg(here, keyOf(actions_.step), keyOf(actions_.startOrContinue), startNote_);
    case StopReason::StepsDone: {
      if (goingBack_) return QStringLiteral("Stepped back to line %1").arg(here);
      const int record = session.lastStepRecord();
      const int line = record >= 0 ? session.map().record(record).line : 0;
      const std::string said = session.lastStepEffect();
      const QString effect = panel_->encoding() == TextEncoding::Latin1
                                 ? QString::fromLatin1(said)
                                 : QString::fromStdString(said);
      return QStringLiteral("Stepped over line %1%2")
          .arg(shownLine(line))
          .arg(effect.isEmpty() ? QString() : QStringLiteral(": ") + effect);
    }
    case StopReason::Breakpoint:
      return QStringLiteral("Breakpoint at line %1").arg(here);
    case StopReason::PlaceReached:
      return QStringLiteral("Ran to line %1").arg(here);
    case StopReason::Paused:
      return QStringLiteral("Paused at line %1 after %2").arg(here, stepsText());
    case StopReason::AtStart:
      if (stepsBefore == 0) {
        return QStringLiteral("The run is at its start: there is no step to go back over");
      }
      return QStringLiteral("Back at the start of the run, line %1").arg(here);
    case StopReason::HistoryExhausted:
      return QStringLiteral(
                 "No earlier step is kept: the first %1 of this run were dropped to bound the "
                 "history")
          .arg(counted(session.droppedSteps(), "step", "steps"));
    default:
      break;
  }
  if (session.ended()) return QStringLiteral("The program ended after %1").arg(stepsText());
  return QStringLiteral("Stopped at line %1").arg(here);
}

void DebugCommands::updateTextAndActions() {
  const DebugController::Phase phase = controller_.phase();
  const bool running = phase == DebugController::Phase::Running;
  const bool waiting = phase == DebugController::Phase::WaitingForInput;
  const bool held = holdsText();
  if (held != held_) {
    held_ = held;
    edit_->setReadOnly(held);
    // The caret stays, to choose a line for Run to Cursor or a breakpoint.
    if (held) {
      edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    emit textHeld(held);
  }
  actions_.startOrContinue->setEnabled(!running);
  actions_.step->setEnabled(!running);
  actions_.runToCursor->setEnabled(!running);
  actions_.pause->setEnabled(running || waiting);
  actions_.stop->setEnabled(controller_.hasRun());
  actions_.stepBack->setEnabled(controller_.hasRun() && !running);
  actions_.reverseContinue->setEnabled(controller_.hasRun() && !running);
}

void DebugCommands::saveLayout() {
  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.setValue(kLayoutKey, window_->saveState());
}

bool DebugCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_ || event->type() != QEvent::KeyPress || !holdsText()) {
    return QObject::eventFilter(watched, event);
  }
  const auto* key = static_cast<const QKeyEvent*>(event);
  if (!typesIntoText(*key)) return QObject::eventFilter(watched, event);
  // Words typed while the program waits for them are meant for it.
  if (controller_.phase() == DebugController::Phase::WaitingForInput && !key->text().isEmpty() &&
      key->text().at(0).isPrint()) {
    panel_->focusInput();
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
    QCoreApplication::sendEvent(panel_->inputField(), &copy);
    return true;
  }
  say(QStringLiteral("The text is read-only while a program runs in it: %1 stops the run")
          .arg(keyOf(actions_.stop)));
  return QObject::eventFilter(watched, event);
}
