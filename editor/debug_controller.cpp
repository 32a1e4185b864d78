// Driving the debugging core from the window's event loop; see
// debug_controller.h.
#include "debug_controller.h"

#include <utility>

DebugController::DebugController(QObject* parent) : QObject(parent) {
  // A zero interval: the next slice as soon as the window has handled the
  // events that came in meanwhile (a click on Pause among them).
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

DebugController::~DebugController() = default;

bool DebugController::start(const std::string& path, std::string source,
                            std::vector<std::string>* messages) {
  DebugProgram program;
  messages->clear();
  if (!assembleProgram(path, std::move(source), program, *messages)) return false;
  timer_.stop();
  session_ = std::make_unique<DebugSession>(std::move(program));
  output_.clear();
  outputStart_ = 0;
  ++outputCuts_;
  // A program without an instruction has ended before its first step.
  phase_ = session_->ended() ? Phase::Ended : Phase::Stopped;
  emit inputChanged();
  return true;
}

void DebugController::restart() {
  if (!session_) return;
  timer_.stop();
  session_->restart();
  output_.clear();
  outputStart_ = 0;
  ++outputCuts_;
  phase_ = session_->ended() ? Phase::Ended : Phase::Stopped;
  emit inputChanged();
}

void DebugController::stop() {
  timer_.stop();
  session_.reset();
  phase_ = Phase::Idle;
}

void DebugController::continueRun() {
  if (!session_) return;
  session_->startContinue();
  begin();
}

void DebugController::step() {
  if (!session_) return;
  session_->startStep(1);
  begin();
}

void DebugController::runTo(int record) {
  if (!session_) return;
  session_->startRunTo(record);
  begin();
}

void DebugController::stepBack() {
  if (!session_) return;
  session_->startStepBack(1);
  begin();
}

void DebugController::reverseContinue() {
  if (!session_) return;
  session_->startReverseContinue();
  begin();
}

void DebugController::pause() {
  if (phase_ != Phase::Running && phase_ != Phase::WaitingForInput) return;
  session_->pause();
  finishGoal(StopReason::Paused);
}

void DebugController::setBreakpointLines(const std::vector<int>& lines) {
  if (!session_) return;
  session_->deleteAllBreakpoints();
  const ProgramMap& map = session_->map();
  for (int line : lines) {
    const PlaceResult place = map.resolveLine(line);
    if (place.record >= 0) session_->addBreakpoint(place.record);
  }
}

void DebugController::feedInput(const std::string& text) {
  if (!session_) return;
  session_->feedInput(text);
  emit inputChanged();
  if (phase_ == Phase::WaitingForInput && session_->hasGoal()) begin();
}

void DebugController::endInput() {
  if (!session_) return;
  session_->endInput();
  emit inputChanged();
  if (phase_ == Phase::WaitingForInput && session_->hasGoal()) begin();
}

void DebugController::begin() {
  phase_ = Phase::Running;
  sinceProgress_.start();
  emit running();
  // The first slice at once: a step is done before the next key comes,
  // so that keys pressed in quick succession each take one.
  tick();
  if (phase_ == Phase::Running) timer_.start();
}

void DebugController::tick() {
  if (!session_) {
    timer_.stop();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  StopReason reason;
  do {
    reason = session_->advance(kSliceSteps);
    collect();
    // A slot of note() may have ended the run.
    if (!session_) return;
  } while (reason == StopReason::BudgetUsed && clock.elapsed() < kTickMilliseconds);
  if (reason != StopReason::BudgetUsed) {
    finishGoal(reason);
  } else if (sinceProgress_.elapsed() >= kProgressMilliseconds) {
    sinceProgress_.restart();
    emit progressed();
  }
}

void DebugController::collect() {
  const std::string text = session_->takeOutput();
  output_ += text;
  // Steps undone take their output back with them.
  const uint64_t length = session_->outputLength();
  if (length < outputStart_ + output_.size()) {
    if (length >= outputStart_) {
      output_.resize(static_cast<std::size_t>(length - outputStart_));
    } else {
      output_.clear();
      outputStart_ = length;
    }
    ++outputCuts_;
  }
  if (output_.size() > kKeptOutputBytes) {
    // A quarter at a time, so that a program that prints without end does
    // not move the whole text at every slice.
    const std::size_t dropped = output_.size() - kKeptOutputBytes * 3 / 4;
    output_.erase(0, dropped);
    outputStart_ += dropped;
  }
  for (const std::string& line : session_->takeNotes()) emit note(QString::fromStdString(line));
}

void DebugController::finishGoal(StopReason reason) {
  timer_.stop();
  if (reason == StopReason::WaitingForInput) {
    phase_ = Phase::WaitingForInput;
  } else {
    phase_ = session_->ended() ? Phase::Ended : Phase::Stopped;
  }
  emit inputChanged();
  emit stopped(reason);
}
