// kivdebug's interactive session; see console_session.h.
#include "console_session.h"

#include <algorithm>
#include <iostream>
#include <utility>

#include "input_file.h"
#include "step_effect.h"

namespace {

constexpr char kPrompt[] = "(kivdebug) ";
constexpr int kListLines = 10;
// Steps the core carries out between two looks at an interrupt.
constexpr uint64_t kSlice = 20000;

int digitsOf(int number) {
  int digits = 1;
  while (number >= 10) {
    number /= 10;
    ++digits;
  }
  return digits;
}

std::string counted(uint64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

ConsoleSession::ConsoleSession(DebugProgram program, LineSource& lines, std::ostream& out,
                               std::ostream& err, ConsoleOptions options)
    : session_(std::move(program)),
      lines_(lines),
      out_(out),
      err_(err),
      options_(options),
      programOutBuffer_(out.rdbuf()),
      programOut_(&programOutBuffer_) {
  if (options_.inputText != nullptr) {
    inputText_ = *options_.inputText;
    hasInputFile_ = true;
    input_ = std::make_unique<NoMoreInput>();
  } else {
    input_ = std::make_unique<PromptedLines>(lines_, [this] {
      if (programOutBuffer_.midLine()) say();
      out_.flush();
    });
  }
  if (hasInputFile_) session_.feedInput(inputText_);
}

ConsoleSession::~ConsoleSession() = default;

void ConsoleSession::start() {
  session_.restart();
  if (hasInputFile_) session_.feedInput(inputText_);
}

std::ostream& ConsoleSession::say() {
  if (programOutBuffer_.midLine()) {
    out_ << '\n';
    programOutBuffer_.lineEnded();
  }
  return out_;
}

std::ostream& ConsoleSession::note() {
  out_.flush();
  if (options_.sharedConsole && programOutBuffer_.midLine()) {
    err_ << '\n';
    programOutBuffer_.lineEnded();
  }
  return err_;
}

void ConsoleSession::drainOutput() {
  const std::string text = session_.takeOutput();
  programOut_.write(text.data(), static_cast<std::streamsize>(text.size()));
  for (const std::string& line : session_.takeNotes()) note() << line << '\n' << std::flush;
}

std::string ConsoleSession::stepsText() const {
  return counted(session_.stepsTaken(), "step", "steps");
}

void ConsoleSession::showStop(const std::string& header) {
  const int position = session_.position();
  const ProgramMap& map = session_.map();
  if (position >= map.count()) {
    say() << header << map.describe(position) << '\n';
  } else {
    const RecordInfo& info = map.record(position);
    say() << header << "#" << position << " " << info.instruction << '\n';
    if (info.line > 0 && info.line <= map.lineCount()) {
      out_ << info.line << '\t' << map.lineText(info.line) << '\n';
    }
  }
  showDisplays();
}

void ConsoleSession::showDisplays() {
  for (const Display& display : displays_) {
    const int index = session_.findVariable(display.name);
    if (index >= 0) {
      say() << display.number << ": " << variableLine(session_.variable(index)) << '\n';
    }
  }
}

void ConsoleSession::showEnded() { say() << "the program ended after " << stepsText() << '\n'; }

void ConsoleSession::run() {
  const ProgramMap& map = session_.map();
  say() << session_.program().path << ": " << counted(map.count(), "record", "records")
        << "; \"help\" lists the commands" << '\n';
  if (session_.ended()) {
    showEnded();
  } else {
    showStop("");
  }
  std::string line;
  for (;;) {
    say().flush();
    const LineResult result = lines_.readLine(kPrompt, true, line);
    if (result == LineResult::End) break;
    // An interrupt at the prompt drops the line typed so far.
    if (result == LineResult::Interrupted) {
      interruptRequested = 0;
      continue;
    }
    if (!execute(line)) break;
  }
  out_.flush();
}

bool ConsoleSession::execute(const std::string& line) {
  Command command = parseCommand(line);
  bool listingOn = false;
  if (command.kind == CommandKind::Empty) {
    // Only a step or continue given just before is repeated; after list,
    // the next lines are shown.
    if (repeatsOnEmptyLine(previous_.kind)) {
      command = previous_;
    } else if (previous_.kind == CommandKind::List) {
      command = previous_;
      command.argument.clear();
      listingOn = true;
    } else {
      return true;
    }
  } else if (command.kind == CommandKind::List && command.argument.empty()) {
    listingOn = previous_.kind == CommandKind::List;
  }
  switch (command.kind) {
    case CommandKind::Empty:
      break;
    case CommandKind::Run:
      runCommand(command);
      break;
    case CommandKind::Step:
      if (!ranOut()) {
        session_.startStep(command.count);
        go();
      }
      break;
    case CommandKind::Continue:
      if (!ranOut()) {
        session_.startContinue();
        go();
      }
      break;
    case CommandKind::Until:
      if (command.argument.empty()) {
        if (!ranOut()) {
          session_.startUntilPastLine();
          go();
        }
      } else {
        runToCommand(command.argument);
      }
      break;
    case CommandKind::Advance:
      runToCommand(command.argument);
      break;
    case CommandKind::ReverseStep:
      session_.startStepBack(command.count);
      go();
      break;
    case CommandKind::ReverseContinue:
      session_.startReverseContinue();
      go();
      break;
    case CommandKind::Break:
    case CommandKind::TBreak:
      breakCommand(command.argument, command.kind == CommandKind::TBreak);
      break;
    case CommandKind::Watch:
      watchCommand(command.argument);
      break;
    case CommandKind::Delete:
      deleteCommand(command.number);
      break;
    case CommandKind::InfoBreak:
      infoBreakCommand();
      break;
    case CommandKind::InfoHistory:
      infoHistoryCommand();
      break;
    case CommandKind::InfoDisplay:
    case CommandKind::Display:
      displayCommand(command.argument);
      break;
    case CommandKind::Undisplay:
      undisplayCommand(command.number);
      break;
    case CommandKind::Print:
      printCommand(command.argument);
      break;
    case CommandKind::Set:
      setCommand(command.argument, command.value);
      break;
    case CommandKind::Vars:
      varsCommand();
      break;
    case CommandKind::Stack:
      stackCommand();
      break;
    case CommandKind::Flags:
      flagsCommand();
      break;
    case CommandKind::List:
      // A listing that found no more lines ends: the next list starts anew.
      if (!listCommand(listingOn ? std::string(1, '\0') : command.argument)) {
        command.kind = CommandKind::Empty;
      }
      break;
    case CommandKind::Where:
      whereCommand();
      break;
    case CommandKind::Help:
      helpCommand(command.argument);
      break;
    case CommandKind::Quit:
      out_.flush();
      return false;
    case CommandKind::Invalid:
      say() << command.problem << '\n';
      break;
  }
  previous_ = command;
  return true;
}

bool ConsoleSession::ranOut() {
  if (!session_.ended()) return false;
  say() << "the program has ended: \"run\" starts it again" << '\n';
  return true;
}

StopReason ConsoleSession::drive() {
  interruptRequested = 0;
  for (;;) {
    const StopReason reason = session_.advance(kSlice);
    drainOutput();
    if (reason != StopReason::BudgetUsed && reason != StopReason::WaitingForInput) return reason;
    if (interruptRequested != 0) {
      interruptRequested = 0;
      session_.pause();
      return StopReason::Paused;
    }
    if (reason == StopReason::BudgetUsed) continue;
    std::string text;
    switch (input_->more(text)) {
      case ProgramInput::Result::Text:
        session_.feedInput(text);
        break;
      case ProgramInput::Result::End:
        session_.endInput();
        break;
      case ProgramInput::Result::Interrupted:
        interruptRequested = 0;
        session_.pause();
        return StopReason::Paused;
    }
  }
}

void ConsoleSession::go() {
  const uint64_t stepsBefore = session_.stepsTaken();
  const uint64_t outputBefore = session_.outputLength();
  const StopReason reason = drive();
  report(reason, stepsBefore);
  if (session_.outputLength() < outputBefore && !undoneOutputSaid_) {
    undoneOutputSaid_ = true;
    say() << "(the output of the steps undone stays on the terminal: printed text cannot be "
             "taken back)"
          << '\n';
  }
}

void ConsoleSession::report(StopReason reason, uint64_t stepsBefore) {
  switch (reason) {
    case StopReason::Breakpoint: {
      const BreakpointView breakpoint = session_.stopBreakpoint();
      showStop(std::string(breakpoint.temporary ? "temporary breakpoint " : "breakpoint ") +
               std::to_string(breakpoint.number) + ", ");
      break;
    }
    case StopReason::WatchChanged: {
      const WatchHit& hit = session_.watchHit();
      const int index = session_.findVariable(hit.name);
      const int type = index >= 0 ? session_.variable(index).type : kStringVariable;
      say() << "watchpoint " << hit.number << ": " << visibleText(hit.name) << " was "
            << shownValue(hit.oldValue, type) << ", is now " << shownValue(hit.newValue, type)
            << '\n';
      if (session_.ended()) {
        showEnded();
      } else {
        showStop("");
      }
      break;
    }
    case StopReason::Ended:
      showEnded();
      break;
    case StopReason::Paused:
      showStop("interrupted, ");
      break;
    case StopReason::AtStart:
      if (stepsBefore == 0 && session_.stepsTaken() == 0) {
        say() << "the run is at its start: there is no step to go back over" << '\n';
      } else {
        say() << "back at the start of the run" << '\n';
        showStop("");
      }
      break;
    case StopReason::HistoryExhausted:
      say() << "no earlier step is kept: the first "
            << counted(session_.droppedSteps(), "step", "steps")
            << " of this run were dropped to bound the history" << '\n';
      showStop("");
      break;
    default:
      showStop("");
      break;
  }
}

void ConsoleSession::runCommand(const Command& command) {
  if (!command.argument.empty()) {
    InputFile file = readInputFile(command.argument);
    if (file.status != InputStatus::Read) {
      say() << "cannot read the input file " << command.argument << ": "
            << (file.status == InputStatus::TooLarge ? "too large" : file.reason) << '\n';
      return;
    }
    inputText_ = std::move(file.text);
    hasInputFile_ = true;
    input_ = std::make_unique<NoMoreInput>();
  }
  if (session_.stepsTaken() > 0 || session_.ended() || session_.undoableSteps() > 0 ||
      !command.argument.empty()) {
    say() << "the program starts again from its first record" << '\n';
  }
  start();
  session_.startContinue();
  go();
}

void ConsoleSession::breakCommand(const std::string& place, bool temporary) {
  const PlaceResult result = session_.map().resolve(place);
  if (result.record < 0) {
    say() << result.problem << '\n';
    return;
  }
  const char* kind = temporary ? "temporary breakpoint " : "breakpoint ";
  if (const int number = session_.breakpointAt(result.record)) {
    say() << "breakpoint " << number << " is already at " << session_.map().describe(result.record)
          << '\n';
  } else {
    const int added = session_.addBreakpoint(result.record, temporary);
    say() << kind << added << " at " << session_.map().describe(result.record) << '\n';
  }
  if (!result.note.empty()) say() << "warning: " << result.note << '\n';
}

void ConsoleSession::runToCommand(const std::string& place) {
  const PlaceResult result = session_.map().resolve(place);
  if (result.record < 0) {
    say() << result.problem << '\n';
    return;
  }
  if (ranOut()) return;
  session_.startRunTo(result.record);
  go();
}

int ConsoleSession::variableNamed(const std::string& name) {
  const int index = session_.findVariable(name);
  if (index < 0) say() << "no variable named " << visibleText(name) << '\n';
  return index;
}

void ConsoleSession::watchCommand(const std::string& name) {
  const int index = variableNamed(name);
  if (index < 0) return;
  for (const WatchView& watch : session_.watches()) {
    if (watch.variable == index) {
      say() << "watchpoint " << watch.number << " is already on " << visibleText(watch.name)
            << '\n';
      return;
    }
  }
  const int number = session_.addWatch(index);
  say() << "watchpoint " << number << " on " << visibleText(session_.variable(index).name) << '\n';
}

void ConsoleSession::deleteCommand(int number) {
  const std::vector<BreakpointView> breakpoints = session_.breakpoints();
  const std::vector<WatchView> watches = session_.watches();
  if (number == 0) {
    if (breakpoints.empty() && watches.empty()) {
      say() << "there are no breakpoints" << '\n';
    } else {
      session_.deleteAllBreakpoints();
      say() << (watches.empty() ? "deleted every breakpoint"
                                : "deleted every breakpoint and watchpoint")
            << '\n';
    }
    return;
  }
  const bool watch = std::any_of(watches.begin(), watches.end(),
                                 [number](const WatchView& w) { return w.number == number; });
  if (!session_.deleteBreakpoint(number)) {
    say() << "there is no breakpoint " << number << '\n';
    return;
  }
  say() << (watch ? "deleted watchpoint " : "deleted breakpoint ") << number << '\n';
}

void ConsoleSession::infoBreakCommand() {
  struct Row {
    int number;
    std::string text;
    uint64_t hits;
  };
  std::vector<Row> rows;
  for (const BreakpointView& b : session_.breakpoints()) {
    rows.push_back(Row{b.number,
                       std::string(b.temporary ? "temporary breakpoint " : "breakpoint ") +
                           std::to_string(b.number) + " at " + session_.map().describe(b.record),
                       b.hits});
  }
  for (const WatchView& w : session_.watches()) {
    rows.push_back(Row{
        w.number, "watchpoint " + std::to_string(w.number) + " on " + visibleText(w.name), w.hits});
  }
  if (rows.empty()) {
    say() << "there are no breakpoints" << '\n';
    return;
  }
  std::sort(rows.begin(), rows.end(),
            [](const Row& a, const Row& b) { return a.number < b.number; });
  for (const Row& row : rows) {
    say() << row.text << '\n';
    if (row.hits > 0) say() << "    hit " << counted(row.hits, "time", "times") << '\n';
  }
}

void ConsoleSession::infoHistoryCommand() {
  const uint64_t steps = session_.undoableSteps();
  say() << (steps == 0 ? std::string("no step") : counted(steps, "step", "steps"))
        << " can be stepped back over" << '\n';
  if (session_.droppedSteps() > 0) {
    say() << "the first " << counted(session_.droppedSteps(), "step", "steps")
          << " of this run are no longer kept" << '\n';
  }
}

std::string ConsoleSession::variableLine(const VariableView& variable) const {
  return visibleText(variable.name) + " = " + shownValue(variable.value, variable.type) + " (" +
         variableTypeName(variable.type) + ")";
}

void ConsoleSession::printCommand(const std::string& name) {
  const int index = variableNamed(name);
  if (index >= 0) say() << variableLine(session_.variable(index)) << '\n';
}

void ConsoleSession::displayCommand(const std::string& name) {
  if (name.empty()) {
    if (displays_.empty()) say() << "there are no displays" << '\n';
    showDisplays();
    return;
  }
  const int index = variableNamed(name);
  if (index < 0) return;
  const std::string declared = session_.variable(index).name;
  for (const Display& display : displays_) {
    if (display.name == declared) {
      say() << display.number << ": " << variableLine(session_.variable(index)) << '\n';
      return;
    }
  }
  displays_.push_back(Display{nextDisplay_++, declared});
  say() << displays_.back().number << ": " << variableLine(session_.variable(index)) << '\n';
}

void ConsoleSession::undisplayCommand(int number) {
  if (number == 0) {
    say() << (displays_.empty() ? "there are no displays" : "deleted every display") << '\n';
    displays_.clear();
    return;
  }
  auto found = std::find_if(displays_.begin(), displays_.end(),
                            [number](const Display& d) { return d.number == number; });
  if (found == displays_.end()) {
    say() << "there is no display " << number << '\n';
    return;
  }
  displays_.erase(found);
  say() << "deleted display " << number << '\n';
}

void ConsoleSession::setCommand(const std::string& name, const std::string& value) {
  const int index = variableNamed(name);
  if (index < 0) return;
  session_.setVariable(index, value);
  say() << variableLine(session_.variable(index)) << '\n';
}

void ConsoleSession::varsCommand() {
  const std::vector<VariableView> variables = session_.variables();
  if (variables.empty()) {
    say() << "the program has no variables" << '\n';
    return;
  }
  for (const VariableView& variable : variables) say() << variableLine(variable) << '\n';
}

void ConsoleSession::stackCommand() {
  const std::vector<std::string> stack = session_.stack();
  if (stack.empty()) {
    say() << "the stack is empty" << '\n';
    return;
  }
  say() << "the stack, top first:" << '\n';
  for (const std::string& text : stack) out_ << "  " << shownValue(text) << '\n';
}

void ConsoleSession::flagsCommand() {
  const CompareFlags flags = session_.flags();
  struct Row {
    const char* name;
    bool set;
    const char* jump;
  };
  const Row rows[] = {
      {"equal", flags.equal, "je"},     {"notEqual", flags.notEqual, "jne"},
      {"greater", flags.greater, "jg"}, {"greaterOrEqual", flags.greaterOrEqual, "jge"},
      {"less", flags.less, "jl"},       {"lessOrEqual", flags.lessOrEqual, "jle"}};
  if (!session_.compared()) say() << "no cmp has run yet" << '\n';
  for (const Row& row : rows) {
    std::string name = row.name;
    name.resize(15, ' ');
    say() << name << (row.set ? "yes  " : "no   ") << row.jump
          << (row.set ? " jumps" : " does not jump") << '\n';
  }
}

void ConsoleSession::listLines(int first, int last) {
  const ProgramMap& map = session_.map();
  const bool source = map.fromSource();
  const int current = source ? map.lineAt(session_.position()) : session_.position();
  const int width = digitsOf(source ? map.lineCount() : map.count() - 1) + (source ? 0 : 1);
  const std::vector<BreakpointView> breakpoints = session_.breakpoints();
  for (int at = first; at <= last; ++at) {
    bool marked = false;
    for (const BreakpointView& breakpoint : breakpoints) {
      if ((source ? map.lineAt(breakpoint.record) : breakpoint.record) == at) marked = true;
    }
    std::string number = source ? std::to_string(at) : "#" + std::to_string(at);
    if (static_cast<int>(number.size()) < width) number.insert(0, width - number.size(), ' ');
    say() << (marked ? '*' : ' ') << (at == current && !session_.ended() ? "=>" : "  ") << " "
          << number << "  " << (source ? map.lineText(at) : map.record(at).instruction) << '\n';
  }
  nextListed_ = last + 1;
}

// place: empty for the lines around the run's place, a NUL byte alone to
// go on after the last listing, else a line or another place.
bool ConsoleSession::listCommand(const std::string& place) {
  const ProgramMap& map = session_.map();
  const std::string& path = session_.program().path;
  const bool source = map.fromSource();
  const int total = source ? map.lineCount() : map.count();
  const std::string unit = source ? "lines" : "records";
  if (total == 0) {
    say() << path << " has no " << unit << '\n';
    return true;
  }
  const int lowest = source ? 1 : 0;
  const int highest = source ? total : total - 1;
  if (place == std::string(1, '\0')) {
    if (nextListed_ > highest) {
      say() << "no more " << unit << ": " << path << " has " << total << " " << unit << '\n';
      return false;
    }
    listLines(nextListed_, std::min(nextListed_ + kListLines - 1, highest));
    return true;
  }
  int centre = 0;
  if (place.empty()) {
    const int position = session_.position();
    if (source) {
      centre = map.lineAt(position);
      // At the end, or on a record without a line: the end of the file.
      if (centre == 0) centre = total;
    } else {
      centre = std::min(position, total - 1);
    }
  } else if (source && place.find_first_not_of("0123456789") == std::string::npos) {
    unsigned long long number = 0;
    if (!parseCount(place, 0x7fffffff, number) || number == 0 ||
        number > static_cast<unsigned long long>(total)) {
      say() << "there is no line " << place << ": " << path << " has " << total << " lines" << '\n';
      return true;
    }
    centre = static_cast<int>(number);
  } else {
    const PlaceResult result = map.resolve(place);
    if (result.record < 0) {
      say() << result.problem << '\n';
      return true;
    }
    centre = source ? map.lineAt(result.record) : result.record;
    if (centre == 0) {
      say() << "#" << result.record << " has no source line" << '\n';
      return true;
    }
  }
  int first = std::max(lowest, centre - kListLines / 2);
  const int last = std::min(highest, first + kListLines - 1);
  first = std::max(lowest, last - kListLines + 1);
  listLines(first, last);
  return true;
}

void ConsoleSession::whereCommand() {
  if (session_.ended()) {
    say() << "the program has ended after " << stepsText() << '\n';
    return;
  }
  showStop("");
  say() << stepsText() << " taken" << '\n';
}

void ConsoleSession::helpCommand(const std::string& word) {
  if (word.empty()) {
    say() << commandHelp();
    return;
  }
  const char* line = commandHelpLine(word);
  if (line == nullptr) {
    say() << "unknown command \"" << word << "\": \"help\" lists the commands" << '\n';
    return;
  }
  say() << line << '\n';
}
