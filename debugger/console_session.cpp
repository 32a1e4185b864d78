// The interactive session; see console_session.h.
#include "console_session.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "opcodes.h"
#include "step_effect.h"

namespace {

constexpr char kPrompt[] = "(kivdebug) ";
constexpr int kListLines = 10;

const char* typeName(int type) {
  switch (type) {
    case kIntegerVariable:
      return "integer";
    case kFloatVariable:
      return "float";
    default:
      return "string";
  }
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

int digitsOf(int number) {
  int digits = 1;
  while (number >= 10) {
    number /= 10;
    ++digits;
  }
  return digits;
}

}  // namespace

ConsoleSession::ConsoleSession(const DebugProgram& program, LineSource& lines, std::ostream& out,
                               const std::string* programInput)
    : program_(program),
      lines_(lines),
      out_(out),
      programOutBuffer_(out.rdbuf()),
      programOut_(&programOutBuffer_),
      inputText_(programInput),
      promptedInput_(
          lines,
          [this] {
            if (programOutBuffer_.midLine()) say();
            out_.flush();
          },
          [this] { out_ << "the run stops once the program has its input" << '\n'; }),
      programIn_(nullptr) {
  start();
}

ConsoleSession::~ConsoleSession() = default;

void ConsoleSession::start() {
  engine_.reset();
  interpreter_ = std::make_unique<Interpreter>(programIn_, programOut_);
  interpreter_->loadText(program_.bytecode);
  if (!map_) map_ = std::make_unique<ProgramMap>(interpreter_->code, program_);
  if (inputText_ != nullptr) {
    fileInput_.str(*inputText_);
    fileInput_.clear();
    programIn_.rdbuf(fileInput_.rdbuf());
  } else {
    promptedInput_.discard();
    programIn_.rdbuf(&promptedInput_);
  }
  programIn_.clear();
  engine_ = std::make_unique<ExecutionEngine>(*interpreter_, programIn_, programOut_);
  cmpRan_ = false;
  // A table without an instruction to carry out ends at once; the step
  // that finds so counts as none.
  if (engine_->position() >= map_->count()) engine_->step();
}

std::ostream& ConsoleSession::say() {
  if (programOutBuffer_.midLine()) {
    out_ << '\n';
    programOutBuffer_.lineEnded();
  }
  return out_;
}

std::string ConsoleSession::stepsText() const {
  const uint64_t steps = engine_->stepsTaken();
  return std::to_string(steps) + (steps == 1 ? " step" : " steps");
}

int ConsoleSession::breakpointAt(int record) const {
  for (const Breakpoint& breakpoint : breakpoints_) {
    if (breakpoint.record == record) return breakpoint.number;
  }
  return 0;
}

void ConsoleSession::showStop(const std::string& header) {
  const int position = engine_->position();
  if (position >= map_->count()) {
    say() << header << map_->describe(position) << '\n';
    return;
  }
  const RecordInfo& info = map_->record(position);
  say() << header << "#" << position << " " << info.instruction << '\n';
  if (info.line > 0 && info.line <= map_->lineCount()) {
    out_ << info.line << '\t' << map_->lineText(info.line) << '\n';
  }
}

void ConsoleSession::showEnded() { say() << "the program ended after " << stepsText() << '\n'; }

void ConsoleSession::run() {
  say() << program_.path << ": " << map_->count() << (map_->count() == 1 ? " record" : " records")
        << "; \"help\" lists the commands" << '\n';
  if (engine_->finished()) {
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
  if (command.kind == CommandKind::Empty) {
    if (repeatable_.kind == CommandKind::Empty) return true;
    command = repeatable_;
  }
  const bool listing = command.kind == CommandKind::List;
  switch (command.kind) {
    case CommandKind::Empty:
      break;
    case CommandKind::Run:
      runCommand();
      break;
    case CommandKind::Step:
      repeatable_ = command;
      stepCommand(command.count);
      break;
    case CommandKind::Continue:
      repeatable_ = command;
      continueCommand();
      break;
    case CommandKind::Break:
      breakCommand(command.argument);
      break;
    case CommandKind::Delete:
      deleteCommand(command.breakpoint);
      break;
    case CommandKind::InfoBreak:
      infoBreakCommand();
      break;
    case CommandKind::Print:
      printCommand(command.argument);
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
      listCommand(command.argument);
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
  if (!listing) listed_ = false;
  return true;
}

ConsoleSession::Stop ConsoleSession::advance(uint64_t count, bool checkFirst) {
  uint64_t done = 0;
  for (;;) {
    if (engine_->finished()) return Stop::Ended;
    if (done >= count) return Stop::Count;
    if ((done > 0 || checkFirst) && breakpointAt(engine_->position()) != 0) {
      return Stop::Breakpoint;
    }
    if (interruptRequested != 0) {
      interruptRequested = 0;
      return Stop::Interrupted;
    }
    const int position = engine_->position();
    if (position < map_->count() &&
        map_->record(position).opcode == static_cast<int>(Opcode::Cmp)) {
      cmpRan_ = true;
    }
    engine_->step();
    ++done;
  }
}

void ConsoleSession::report(Stop stop) {
  switch (stop) {
    case Stop::Count:
    case Stop::Breakpoint:
      // A step that lands on a breakpoint says so too.
      if (int number = breakpointAt(engine_->position())) {
        showStop("breakpoint " + std::to_string(number) + ", ");
      } else {
        showStop("");
      }
      break;
    case Stop::Ended:
      showEnded();
      break;
    case Stop::Interrupted:
      showStop("interrupted, ");
      break;
  }
}

void ConsoleSession::runCommand() {
  if (engine_->stepsTaken() > 0 || engine_->finished()) {
    say() << "the program starts again from its first record" << '\n';
    start();
  }
  interruptRequested = 0;
  report(advance(UINT64_MAX, true));
}

void ConsoleSession::stepCommand(uint64_t count) {
  if (engine_->finished()) {
    say() << "the program has ended: \"run\" starts it again" << '\n';
    return;
  }
  interruptRequested = 0;
  report(advance(count, false));
}

void ConsoleSession::continueCommand() {
  if (engine_->finished()) {
    say() << "the program has ended: \"run\" starts it again" << '\n';
    return;
  }
  interruptRequested = 0;
  report(advance(UINT64_MAX, false));
}

void ConsoleSession::breakCommand(const std::string& place) {
  PlaceResult result = map_->resolve(place);
  if (result.record < 0) {
    say() << result.problem << '\n';
    return;
  }
  if (int number = breakpointAt(result.record)) {
    say() << "breakpoint " << number << " is already at " << map_->describe(result.record) << '\n';
    return;
  }
  breakpoints_.push_back(Breakpoint{nextBreakpoint_++, result.record});
  say() << "breakpoint " << breakpoints_.back().number << " at " << map_->describe(result.record)
        << '\n';
}

void ConsoleSession::deleteCommand(int number) {
  if (number == 0) {
    if (breakpoints_.empty()) {
      say() << "there are no breakpoints" << '\n';
    } else {
      breakpoints_.clear();
      say() << "deleted every breakpoint" << '\n';
    }
    return;
  }
  auto found = std::find_if(breakpoints_.begin(), breakpoints_.end(),
                            [number](const Breakpoint& b) { return b.number == number; });
  if (found == breakpoints_.end()) {
    say() << "there is no breakpoint " << number << '\n';
    return;
  }
  breakpoints_.erase(found);
  say() << "deleted breakpoint " << number << '\n';
}

void ConsoleSession::infoBreakCommand() {
  if (breakpoints_.empty()) {
    say() << "there are no breakpoints" << '\n';
    return;
  }
  for (const Breakpoint& breakpoint : breakpoints_) {
    say() << "breakpoint " << breakpoint.number << " at " << map_->describe(breakpoint.record)
          << '\n';
  }
}

std::string ConsoleSession::variableLine(const VariableRecord& variable) const {
  return visibleText(variable.name) + " = " + shownValue(variable.value) + " (" +
         typeName(variable.type) + ")";
}

void ConsoleSession::printCommand(const std::string& name) {
  const std::vector<VariableRecord> variables = engine_->variables();
  for (int pass = 0; pass < 2; ++pass) {
    // A source program's names are lower case, whatever was typed.
    if (pass == 1 && !map_->fromSource()) break;
    const std::string wanted = pass == 0 ? name : lowerCase(name);
    for (const VariableRecord& variable : variables) {
      if (variable.name == wanted) {
        say() << variableLine(variable) << '\n';
        return;
      }
    }
  }
  say() << "no variable named " << visibleText(name) << '\n';
}

void ConsoleSession::varsCommand() {
  const std::vector<VariableRecord> variables = engine_->variables();
  if (variables.empty()) {
    say() << "the program has no variables" << '\n';
    return;
  }
  for (const VariableRecord& variable : variables) say() << variableLine(variable) << '\n';
}

void ConsoleSession::stackCommand() {
  const std::vector<std::string> stack = engine_->stackTexts();
  if (stack.empty()) {
    say() << "the stack is empty" << '\n';
    return;
  }
  say() << "the stack, top first:" << '\n';
  for (auto text = stack.rbegin(); text != stack.rend(); ++text) {
    out_ << "  " << shownValue(*text) << '\n';
  }
}

void ConsoleSession::flagsCommand() {
  const CompareFlags& flags = engine_->flags();
  struct Row {
    const char* name;
    bool set;
    const char* jump;
  };
  const Row rows[] = {
      {"equal", flags.equal, "je"},     {"notEqual", flags.notEqual, "jne"},
      {"greater", flags.greater, "jg"}, {"greaterOrEqual", flags.greaterOrEqual, "jge"},
      {"less", flags.less, "jl"},       {"lessOrEqual", flags.lessOrEqual, "jle"}};
  if (!cmpRan_) say() << "no cmp has run yet" << '\n';
  for (const Row& row : rows) {
    std::string name = row.name;
    name.resize(15, ' ');
    say() << name << (row.set ? "yes  " : "no   ") << row.jump
          << (row.set ? " jumps" : " does not jump") << '\n';
  }
}

void ConsoleSession::listLines(int first, int last) {
  const bool source = map_->fromSource();
  const int current = source ? map_->lineAt(engine_->position()) : engine_->position();
  const int width = digitsOf(source ? map_->lineCount() : map_->count() - 1) + (source ? 0 : 1);
  for (int at = first; at <= last; ++at) {
    bool marked = false;
    for (const Breakpoint& breakpoint : breakpoints_) {
      if ((source ? map_->lineAt(breakpoint.record) : breakpoint.record) == at) marked = true;
    }
    std::string number = source ? std::to_string(at) : "#" + std::to_string(at);
    if (static_cast<int>(number.size()) < width) number.insert(0, width - number.size(), ' ');
    say() << (marked ? '*' : ' ') << (at == current && !engine_->finished() ? "=>" : "  ") << " "
          << number << "  " << (source ? map_->lineText(at) : map_->record(at).instruction) << '\n';
  }
  nextListed_ = last + 1;
  listed_ = true;
}

void ConsoleSession::listCommand(const std::string& place) {
  const bool source = map_->fromSource();
  const int total = source ? map_->lineCount() : map_->count();
  const std::string unit = source ? "lines" : "records";
  if (total == 0) {
    say() << program_.path << " has no " << unit << '\n';
    return;
  }
  int centre = 0;
  if (place.empty()) {
    if (listed_) {
      if (nextListed_ > (source ? total : total - 1)) {
        say() << "no more " << unit << ": " << program_.path << " has " << total << " " << unit
              << '\n';
        listed_ = false;
        return;
      }
      listLines(nextListed_, std::min(nextListed_ + kListLines - 1, source ? total : total - 1));
      return;
    }
    const int position = engine_->position();
    if (source) {
      centre = map_->lineAt(position);
      // At the end, or on a record without a line: the end of the file.
      if (centre == 0) centre = total;
    } else {
      centre = std::min(position, total - 1);
    }
  } else if (source && place.find_first_not_of("0123456789") == std::string::npos) {
    unsigned long long number = 0;
    if (!parseCount(place, 0x7fffffff, number) || number == 0 ||
        number > static_cast<unsigned long long>(total)) {
      say() << "there is no line " << place << ": " << program_.path << " has " << total << " lines"
            << '\n';
      return;
    }
    centre = static_cast<int>(number);
  } else {
    PlaceResult result = map_->resolve(place);
    if (result.record < 0) {
      say() << result.problem << '\n';
      return;
    }
    centre = source ? map_->lineAt(result.record) : result.record;
    if (centre == 0) {
      say() << "#" << result.record << " has no source line" << '\n';
      return;
    }
  }
  const int lowest = source ? 1 : 0;
  const int highest = source ? total : total - 1;
  int first = std::max(lowest, centre - kListLines / 2);
  int last = std::min(highest, first + kListLines - 1);
  first = std::max(lowest, last - kListLines + 1);
  listLines(first, last);
}

void ConsoleSession::whereCommand() {
  if (engine_->finished()) {
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
