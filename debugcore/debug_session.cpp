// The debugging core's session; see debug_session.h. The engine runs the
// program; around each step the session records what the step is about to
// change (StepHistory), checks breakpoints and watches on arrival, and
// stops before an input that has no word to read.
#include "debug_session.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <utility>

#include "escapes.h"
#include "execution_engine.h"
#include "program_streams.h"
#include "step_effect.h"
#include "step_history.h"

namespace {

uint8_t flagBits(const CompareFlags& flags) {
  return static_cast<uint8_t>(flags.equal | flags.notEqual << 1 | flags.greater << 2 |
                              flags.greaterOrEqual << 3 | flags.less << 4 | flags.lessOrEqual << 5);
}

CompareFlags flagsOf(uint8_t bits) {
  CompareFlags flags;
  flags.equal = (bits & 1) != 0;
  flags.notEqual = (bits & 2) != 0;
  flags.greater = (bits & 4) != 0;
  flags.greaterOrEqual = (bits & 8) != 0;
  flags.less = (bits & 16) != 0;
  flags.lessOrEqual = (bits & 32) != 0;
  return flags;
}

// The history's kind of entry for each step role, in StepRole's order:
// a table, where a switch would cost a hard-to-predict jump at every step.
constexpr EntryKind kEntryKinds[] = {
    EntryKind::Plain,    // Ends
    EntryKind::Plain,    // Plain
    EntryKind::Write,    // Writes
    EntryKind::Append,   // Appends
    EntryKind::Compare,  // Compares
    EntryKind::Input,    // Input
    EntryKind::Push,     // Pushes
    EntryKind::Pop,      // Pops
};

// What print writes for a value.
std::string printed(RunValue& value) { return expandEscapes(value.text()); }

}  // namespace

const char* variableTypeName(int type) {
  switch (type) {
    case kIntegerVariable:
      return "integer";
    case kFloatVariable:
      return "float";
    default:
      return "string";
  }
}

class DebugSession::Impl : public InputGate, public StepObserver {
 public:
  Impl(DebugProgram program, DebugSessionOptions options)
      : program_(std::move(program)),
        history_(options.historySteps, options.historyTextBytes),
        in_(&queue_),
        out_(&output_) {
    restart();
    const int records = map_->count();
    breakAt_.assign(static_cast<std::size_t>(records) + 1, 0);
    const std::vector<VariableRecord>& variables = interpreter_->variables;
    watched_.assign(variables.size(), 0);
    // The assembler closes every variable section with this entry of its own.
    if (!variables.empty() && variables.back().name == "con0" &&
        variables.back().type == kIntegerVariable) {
      hiddenVariable_ = static_cast<int>(variables.size()) - 1;
    }
  }

  void restart() {
    engine_.reset();
    interpreter_ = std::make_unique<Interpreter>(in_, out_);
    interpreter_->loadText(program_.bytecode);
    if (!map_) map_ = std::make_unique<ProgramMap>(interpreter_->code, program_);
    records_ = map_->count();
    queue_.clear();
    in_.clear();
    output_.clear();
    out_.clear();
    history_.clear();
    notes_.clear();
    inputEndNoted_ = false;
    goal_ = Goal::None;
    lastStop_ = StopReason::None;
    freshStart_ = true;
    moved_ = false;
    lastAction_ = LastAction::None;
    lastRecord_ = -1;
    lastVariable_ = -1;
    lastOldKept_ = false;
    engine_ = std::make_unique<ExecutionEngine>(*interpreter_, in_, out_);
    engine_->setInputGate(this);
    // A table without an instruction to carry out ends at once; the step
    // that finds so counts as none.
    if (engine_->position() >= map_->count()) engine_->step();
  }

  // The gate before every input the engine carries out.
  bool wordReady(int32_t position) override {
    // A stream that met the end of the queue keeps the end in its state.
    in_.clear();
    if (queue_.hasWord()) return true;
    if (!queue_.ended()) return false;
    if (!inputEndNoted_) {
      inputEndNoted_ = true;
      const int line = map_->lineAt(position);
      notes_.push_back(
          "input ended at " +
          (line > 0 ? "line " + std::to_string(line) : "#" + std::to_string(position)) + ": " +
          visibleText(std::string(interpreter_->code.view(position).operand1)) +
          " gets the empty text");
    }
    return true;
  }

  // --- goals ---

  enum class Goal { None, Step, Continue, RunTo, UntilPast, StepBack, ReverseContinue };

  void setGoal(Goal goal, uint64_t count = 0) {
    goal_ = goal;
    remaining_ = std::max<uint64_t>(count, 1);
    // The run stands where it arrived: a goal leaves that place first.
    arrivalChecked_ = true;
  }

  StopReason advance(uint64_t budget) {
    if (goal_ == Goal::None) return lastStop_;
    budget = std::max<uint64_t>(budget, 1);
    if (goal_ == Goal::StepBack || goal_ == Goal::ReverseContinue) return advanceBack(budget);
    if (engine_->finished()) return finish(StopReason::Ended);
    if (freshStart_) {
      // The run has arrived nowhere yet: a breakpoint on the first record
      // counts as arrived at.
      freshStart_ = false;
      if (goal_ != Goal::Step && arriveAtBreakpoint(engine_->position())) {
        return finish(StopReason::Breakpoint);
      }
    }
    // Without history, breakpoints, watches or a place, nothing needs to
    // look at each step: the engine's loop runs on its own, and the input
    // gate stops it. A single step is always looked at, to be told in words.
    const bool unobserved = !history_.recording() && breakpoints_.empty() && watches_.empty() &&
                            ((goal_ == Goal::Step && remaining_ > 1) || goal_ == Goal::Continue);
    engine_->setStepObserver(unobserved ? nullptr : this);
    observedStop_ = StopReason::None;
    const uint64_t before = stepsTaken();
    engine_->run(unobserved && goal_ == Goal::Step ? std::min(budget, remaining_) : budget);
    closeEntry();
    moved_ = moved_ || engine_->stepsTaken() > 0;
    if (unobserved) {
      lastAction_ = LastAction::None;
      if (goal_ == Goal::Step) remaining_ -= std::min(remaining_, stepsTaken() - before);
    }
    if (observedStop_ == StopReason::WaitingForInput) return stop(observedStop_);
    if (observedStop_ != StopReason::None) return finish(observedStop_);
    if (engine_->finished()) {
      if (!unobserved && watchFired()) return finish(StopReason::WatchChanged);
      return finish(StopReason::Ended);
    }
    if (engine_->waitingForInput()) return stop(StopReason::WaitingForInput);
    if (unobserved && goal_ == Goal::Step && remaining_ == 0) return finish(StopReason::StepsDone);
    return stop(StopReason::BudgetUsed);
  }

  // Before each step of an observed run: first, unless done already, why
  // the goal stops at the record the run has arrived at; then the input
  // the step needs; then the record of what the step is about to change.
  // Every recorded step comes here: what it does beyond the engine's step
  // is held to a few loads and stores.
  bool beforeStep(const ObservedStep& step) override {
    if (!arrivalChecked_) {
      arrivalChecked_ = true;
      observedStop_ = arrival(step.position);
      if (observedStop_ != StopReason::None) return false;
    }
    if (step.role == StepRole::Input && !queue_.hasWord() && !queue_.ended()) {
      observedStop_ = StopReason::WaitingForInput;
      return false;
    }
    closeEntry();
    const bool stackEmpty = step.role == StepRole::Pops && engine_->stackDepth() == 0;
    if (history_.recording()) {
      EntryKind kind = kEntryKinds[static_cast<int>(step.role)];
      if (stackEmpty) kind = EntryKind::PopEmpty;
      HistoryEntry& entry = history_.push(kind, step.position, step.variable);
      if (step.variable >= 0) {
        RunValue& value = engine_->value(step.variable);
        if (kind == EntryKind::Append) {
          entry.before.length = value.text().size();
        } else {
          history_.pack(value);
        }
      } else if (kind == EntryKind::Compare) {
        entry.before.flagBits = step.flagBits;
      }
      entryOpen_ = true;
      entryReadsInput_ = step.role == StepRole::Input;
      outputMark_ = output_.length();
      if (entryReadsInput_) inputMark_ = queue_.offset();
      lastOldKept_ = false;
    } else {
      lastOldKept_ = step.variable >= 0;
      if (lastOldKept_) lastOld_ = engine_->value(step.variable);
    }
    lastAction_ = LastAction::Step;
    lastRecord_ = step.position;
    lastVariable_ = step.variable;
    lastStackWasEmpty_ = stackEmpty;
    if (goal_ == Goal::Step) --remaining_;
    arrivalChecked_ = false;
    return true;
  }
  void pause() {
    if (goal_ == Goal::None) return;
    goal_ = Goal::None;
    lastStop_ = StopReason::Paused;
  }

  // --- the state ---

  uint64_t stepsTaken() const {
    // The engine counts the halt; the session does not.
    const bool halted = engine_->finished() && engine_->position() < map_->count();
    return engine_->stepsTaken() - (halted ? 1 : 0);
  }

  bool atEnd() const {
    const int position = engine_->position();
    return position >= map_->count() || map_->record(position).opcode == 0;
  }

  VariableView view(int index) {
    VariableView view;
    const VariableRecord& record = interpreter_->variables[static_cast<std::size_t>(index)];
    view.index = index;
    view.name = record.name;
    view.type = record.type;
    RunValue& value = engine_->value(index);
    view.value = printed(value);
    view.stored = value.text();
    if (index == lastVariable_ && lastAction_ != LastAction::None) {
      view.changed = previousValue().text() != value.text();
    }
    return view;
  }

  bool validVariable(int index) const {
    return index >= 0 && index < static_cast<int>(interpreter_->variables.size());
  }

  int findVariable(const std::string& name) const {
    int found = interpreter_->findVariable(name);
    if (found < 0 && program_.fromSource) {
      std::string lower = name;
      for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      }
      found = interpreter_->findVariable(lower);
    }
    return found;
  }

  bool setVariable(int index, const std::string& text) {
    if (!validVariable(index)) return false;
    RunValue& value = engine_->value(index);
    if (history_.recording()) {
      history_.push(EntryKind::Edit, engine_->position(), index);
      history_.pack(value);
    }
    lastOld_ = value;
    lastOldKept_ = true;
    lastVariable_ = index;
    lastAction_ = LastAction::Edit;
    value.setText(text);
    return true;
  }

  int lastStepRecord() const { return lastAction_ == LastAction::Step ? lastRecord_ : -1; }

  std::string lastStepEffect() {
    if (lastAction_ != LastAction::Step || lastRecord_ < 0) return std::string();
    const CodeRecordView record = interpreter_->code.view(lastRecord_);
    StepState state;
    const int destination = interpreter_->findVariable(std::string(record.operand1));
    state.hasDestination = destination >= 0;
    if (state.hasDestination) {
      state.destinationValue =
          shownValue(printed(engine_->value(destination)),
                     interpreter_->variables[static_cast<std::size_t>(destination)].type);
    }
    state.stackWasEmpty = lastStackWasEmpty_;
    if (engine_->stackDepth() > 0) {
      RunValue top = engine_->stackTop();
      state.pushedValue = shownValue(printed(top));
    }
    state.flags = engine_->flags();
    state.positionAfterText = "#" + std::to_string(engine_->position());
    return stepEffect(record, map_->record(lastRecord_).opcode, state);
  }

  // --- breakpoints and watches ---

  struct Breakpoint {
    int number;
    int record;
    bool temporary;
    uint64_t hits;
  };
  struct Watch {
    int number;
    int variable;
    uint64_t hits;
  };

  int addBreakpoint(int record, bool temporary) {
    if (record < 0 || record >= map_->count() || map_->instructionFrom(record) != record) {
      return 0;
    }
    for (const Breakpoint& breakpoint : breakpoints_) {
      if (breakpoint.record == record) return breakpoint.number;
    }
    breakpoints_.push_back(Breakpoint{nextNumber_++, record, temporary, 0});
    breakAt_[static_cast<std::size_t>(record)] = 1;
    return breakpoints_.back().number;
  }

  bool deleteBreakpoint(int number) {
    for (auto at = breakpoints_.begin(); at != breakpoints_.end(); ++at) {
      if (at->number == number) {
        breakAt_[static_cast<std::size_t>(at->record)] = 0;
        breakpoints_.erase(at);
        return true;
      }
    }
    for (auto at = watches_.begin(); at != watches_.end(); ++at) {
      if (at->number == number) {
        watched_[static_cast<std::size_t>(at->variable)] = 0;
        watches_.erase(at);
        return true;
      }
    }
    return false;
  }

  void deleteAll() {
    breakpoints_.clear();
    watches_.clear();
    std::fill(breakAt_.begin(), breakAt_.end(), 0);
    std::fill(watched_.begin(), watched_.end(), 0);
  }

  int breakpointAt(int record) const {
    for (const Breakpoint& breakpoint : breakpoints_) {
      if (breakpoint.record == record) return breakpoint.number;
    }
    return 0;
  }

  int addWatch(int variable) {
    if (!validVariable(variable)) return 0;
    for (const Watch& watch : watches_) {
      if (watch.variable == variable) return watch.number;
    }
    watches_.push_back(Watch{nextNumber_++, variable, 0});
    watched_[static_cast<std::size_t>(variable)] = 1;
    return watches_.back().number;
  }

  DebugProgram program_;
  StepHistory history_;
  InputQueue queue_;
  std::istream in_;
  OutputRecord output_;
  std::ostream out_;
  std::unique_ptr<Interpreter> interpreter_;
  std::unique_ptr<ExecutionEngine> engine_;
  std::unique_ptr<ProgramMap> map_;
  int records_ = 0;  // map_->count()
  int hiddenVariable_ = -1;

  Goal goal_ = Goal::None;
  uint64_t remaining_ = 0;
  int target_ = 0;  // RunTo's record; UntilPast's line, or record in bytecode
  StopReason lastStop_ = StopReason::None;
  bool freshStart_ = true;
  bool moved_ = false;  // a step has run since the last restart

  std::vector<Breakpoint> breakpoints_;
  std::vector<char> breakAt_;  // per record: a breakpoint stands there
  std::vector<Watch> watches_;
  std::vector<char> watched_;  // per variable
  int nextNumber_ = 1;
  BreakpointView stopBreakpoint_;
  WatchHit watchHit_;

  std::vector<std::string> notes_;
  bool inputEndNoted_ = false;

 private:
  enum class LastAction { None, Step, Undo, Edit };

  StopReason finish(StopReason reason) {
    goal_ = Goal::None;
    lastStop_ = reason;
    return reason;
  }

  StopReason stop(StopReason reason) {
    lastStop_ = reason;
    return reason;
  }

  // The newest entry learns how much output (or input) its step took.
  void closeEntry() {
    if (!entryOpen_) return;
    entryOpen_ = false;
    history_.setAmount(entryReadsInput_ ? queue_.offset() - inputMark_
                                        : output_.length() - outputMark_);
  }

  // Why a forward goal stops at position, where the run has just arrived;
  // None to go on.
  StopReason arrival(int position) {
    if (watchFired()) return StopReason::WatchChanged;
    if (arriveAtBreakpoint(position)) return StopReason::Breakpoint;
    if (goal_ == Goal::RunTo && position == target_) return StopReason::PlaceReached;
    if (goal_ == Goal::UntilPast &&
        (program_.fromSource ? map_->lineAt(position) > target_ : position > target_)) {
      return StopReason::PlaceReached;
    }
    if (goal_ == Goal::Step && remaining_ == 0) return StopReason::StepsDone;
    return StopReason::None;
  }

  StopReason advanceBack(uint64_t budget) {
    for (uint64_t done = 0; done < budget; ++done) {
      if (!undoStep()) {
        const bool atStart = history_.dropped() == 0 && (history_.recording() || !moved_);
        return finish(atStart ? StopReason::AtStart : StopReason::HistoryExhausted);
      }
      freshStart_ = false;
      if (watchFired()) return finish(StopReason::WatchChanged);
      if (arriveAtBreakpoint(engine_->position())) return finish(StopReason::Breakpoint);
      if (goal_ == Goal::StepBack && --remaining_ == 0) return finish(StopReason::StepsDone);
    }
    return stop(StopReason::BudgetUsed);
  }

  // Undoes the newest step and the edits made after it; false when the
  // history holds no step.
  bool undoStep() {
    closeEntry();
    if (history_.steps() == 0) return false;
    while (history_.top().kind == EntryKind::Edit) undoEntry();
    undoEntry();
    return true;
  }

  void undoEntry() {
    const HistoryEntry entry = history_.top();
    const uint64_t amount = history_.amountOfTop();
    lastAction_ = LastAction::Undo;
    lastVariable_ = entry.variable;
    lastOldKept_ = entry.variable >= 0;
    if (lastOldKept_) lastOld_ = engine_->value(entry.variable);
    switch (entry.kind) {
      case EntryKind::Write:
      case EntryKind::Edit:
      case EntryKind::Input:
      case EntryKind::PopEmpty:
        engine_->value(entry.variable) = history_.takeValueOfTop();
        break;
      case EntryKind::Pop:
        engine_->pushValue(engine_->value(entry.variable));
        engine_->value(entry.variable) = history_.takeValueOfTop();
        break;
      case EntryKind::Append:
        engine_->value(entry.variable).truncateText(static_cast<std::size_t>(entry.before.length));
        break;
      case EntryKind::Compare:
        engine_->setFlags(flagsOf(entry.before.flagBits));
        break;
      case EntryKind::Push:
        engine_->dropTop();
        break;
      case EntryKind::Plain:
        break;
    }
    if (entry.kind == EntryKind::Input) {
      queue_.rewind(queue_.offset() - amount);
    } else {
      output_.cutTo(output_.length() - amount);
    }
    if (entry.kind != EntryKind::Edit) engine_->moveTo(entry.position, engine_->stepsTaken() - 1);
    history_.pop();
  }

  // The value the variable last changed held before: kept aside, or in the
  // history's newest entry.
  RunValue previousValue() {
    if (lastOldKept_ || history_.empty()) return lastOld_;
    const HistoryEntry& entry = history_.top();
    if (entry.kind == EntryKind::Append) {
      RunValue value = engine_->value(entry.variable);
      value.truncateText(static_cast<std::size_t>(entry.before.length));
      return value;
    }
    if (entry.kind == EntryKind::Write || entry.kind == EntryKind::Input ||
        entry.kind == EntryKind::Pop || entry.kind == EntryKind::PopEmpty) {
      return history_.valueOfTop();
    }
    return engine_->value(lastVariable_);
  }

  // The last step or undo changed a watched variable: the hit is counted.
  bool watchFired() {
    if (lastVariable_ < 0 || watched_[static_cast<std::size_t>(lastVariable_)] == 0) return false;
    return watchChanged();
  }

  bool watchChanged() {
    RunValue before = previousValue();
    RunValue& now = engine_->value(lastVariable_);
    if (before.text() == now.text()) return false;
    for (Watch& watch : watches_) {
      if (watch.variable != lastVariable_) continue;
      ++watch.hits;
      watchHit_.number = watch.number;
      watchHit_.name = interpreter_->variables[static_cast<std::size_t>(watch.variable)].name;
      watchHit_.oldValue = printed(before);
      watchHit_.newValue = printed(now);
    }
    return true;
  }

  // The run stands at a breakpoint's record: its hit is counted, and a
  // temporary one deleted. position is the run's place (which the engine
  // tells only between runs).
  bool arriveAtBreakpoint(int position) {
    if (breakAt_[static_cast<std::size_t>(position)] == 0) return false;
    for (auto at = breakpoints_.begin(); at != breakpoints_.end(); ++at) {
      if (at->record != position) continue;
      ++at->hits;
      stopBreakpoint_ = BreakpointView{at->number, at->record, at->temporary, at->hits};
      if (at->temporary) {
        breakAt_[static_cast<std::size_t>(position)] = 0;
        breakpoints_.erase(at);
      }
      break;
    }
    return true;
  }

  StopReason observedStop_ = StopReason::None;  // why beforeStep stopped the run
  bool arrivalChecked_ = true;  // the run's place has been looked at since it arrived
  bool entryOpen_ = false;      // the newest entry's amount is still to come
  bool entryReadsInput_ = false;
  uint64_t outputMark_ = 0;
  uint64_t inputMark_ = 0;
  LastAction lastAction_ = LastAction::None;
  int lastRecord_ = -1;
  int lastVariable_ = -1;
  bool lastStackWasEmpty_ = false;
  RunValue lastOld_;
  bool lastOldKept_ = false;
};

DebugSession::DebugSession(DebugProgram program, DebugSessionOptions options)
    : impl_(std::make_unique<Impl>(std::move(program), options)) {}

DebugSession::~DebugSession() = default;

const DebugProgram& DebugSession::program() const { return impl_->program_; }
const ProgramMap& DebugSession::map() const { return *impl_->map_; }

void DebugSession::restart() { impl_->restart(); }

void DebugSession::startStep(uint64_t count) { impl_->setGoal(Impl::Goal::Step, count); }
void DebugSession::startContinue() { impl_->setGoal(Impl::Goal::Continue); }
void DebugSession::startRunTo(int record) {
  impl_->setGoal(Impl::Goal::RunTo);
  impl_->target_ = record;
}
void DebugSession::startUntilPastLine() {
  impl_->setGoal(Impl::Goal::UntilPast);
  impl_->target_ = impl_->program_.fromSource ? line() : position();
}
void DebugSession::startStepBack(uint64_t count) { impl_->setGoal(Impl::Goal::StepBack, count); }
void DebugSession::startReverseContinue() { impl_->setGoal(Impl::Goal::ReverseContinue); }
StopReason DebugSession::advance(uint64_t budget) { return impl_->advance(budget); }
void DebugSession::pause() { impl_->pause(); }
bool DebugSession::hasGoal() const { return impl_->goal_ != Impl::Goal::None; }
StopReason DebugSession::lastStop() const { return impl_->lastStop_; }

int DebugSession::position() const { return impl_->engine_->position(); }
int DebugSession::line() const { return impl_->map_->lineAt(position()); }
uint64_t DebugSession::stepsTaken() const { return impl_->stepsTaken(); }
bool DebugSession::ended() const { return impl_->engine_->finished(); }
bool DebugSession::atEnd() const { return impl_->atEnd(); }

std::vector<VariableView> DebugSession::variables() const {
  std::vector<VariableView> views;
  const int count = static_cast<int>(impl_->interpreter_->variables.size());
  for (int i = 0; i < count; ++i) {
    if (i != impl_->hiddenVariable_) views.push_back(impl_->view(i));
  }
  return views;
}

int DebugSession::findVariable(const std::string& name) const { return impl_->findVariable(name); }

VariableView DebugSession::variable(int index) const {
  return impl_->validVariable(index) ? impl_->view(index) : VariableView();
}

bool DebugSession::setVariable(int index, const std::string& text) {
  return impl_->setVariable(index, text);
}

std::vector<std::string> DebugSession::stack() const {
  std::vector<std::string> texts = impl_->engine_->stackTexts();
  std::reverse(texts.begin(), texts.end());
  for (std::string& text : texts) text = expandEscapes(text);
  return texts;
}

std::vector<std::string> DebugSession::storedStack() const {
  std::vector<std::string> texts = impl_->engine_->stackTexts();
  std::reverse(texts.begin(), texts.end());
  return texts;
}

std::size_t DebugSession::stackDepth() const { return impl_->engine_->stackDepth(); }
CompareFlags DebugSession::flags() const { return impl_->engine_->flags(); }
bool DebugSession::compared() const {
  // Every cmp sets three of the six flags; before the first none is set.
  return flagBits(impl_->engine_->flags()) != 0;
}

std::string DebugSession::lastStepEffect() const { return impl_->lastStepEffect(); }
int DebugSession::lastStepRecord() const { return impl_->lastStepRecord(); }

void DebugSession::feedInput(std::string_view text) { impl_->queue_.feed(text); }
void DebugSession::endInput() { impl_->queue_.end(); }
bool DebugSession::inputEnded() const { return impl_->queue_.ended(); }
std::string DebugSession::pendingInput() const { return impl_->queue_.pending(); }
std::string DebugSession::takeOutput() { return impl_->output_.take(); }
uint64_t DebugSession::outputLength() const { return impl_->output_.length(); }

std::vector<std::string> DebugSession::takeNotes() {
  std::vector<std::string> notes;
  notes.swap(impl_->notes_);
  return notes;
}

int DebugSession::addBreakpoint(int record, bool temporary) {
  return impl_->addBreakpoint(record, temporary);
}
bool DebugSession::deleteBreakpoint(int number) { return impl_->deleteBreakpoint(number); }
void DebugSession::deleteAllBreakpoints() { impl_->deleteAll(); }
int DebugSession::breakpointAt(int record) const { return impl_->breakpointAt(record); }

std::vector<BreakpointView> DebugSession::breakpoints() const {
  std::vector<BreakpointView> views;
  for (const Impl::Breakpoint& b : impl_->breakpoints_) {
    views.push_back(BreakpointView{b.number, b.record, b.temporary, b.hits});
  }
  return views;
}

int DebugSession::addWatch(int variable) { return impl_->addWatch(variable); }

std::vector<WatchView> DebugSession::watches() const {
  std::vector<WatchView> views;
  for (const Impl::Watch& w : impl_->watches_) {
    views.push_back(WatchView{
        w.number, w.variable,
        impl_->interpreter_->variables[static_cast<std::size_t>(w.variable)].name, w.hits});
  }
  return views;
}

BreakpointView DebugSession::stopBreakpoint() const { return impl_->stopBreakpoint_; }
const WatchHit& DebugSession::watchHit() const { return impl_->watchHit_; }

uint64_t DebugSession::undoableSteps() const { return impl_->history_.steps(); }
uint64_t DebugSession::droppedSteps() const { return impl_->history_.dropped(); }
uint64_t DebugSession::historyBytes() const { return impl_->history_.bytes(); }
