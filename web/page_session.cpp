// The page's debugging session over the debugging core; see page_session.h.
#include "page_session.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "debug_program.h"
#include "debug_session.h"
#include "json_report.h"
#include "playground.h"
#include "step_effect.h"

namespace {

// The page keeps the core's number of steps to step back through, with a
// smaller bound on the texts they replaced: a phone's tab has less memory
// than a console debugger's machine.
DebugSessionOptions pageHistory(bool record) {
  DebugSessionOptions options;
  options.historyTextBytes = uint64_t{64} << 20;
  if (!record) options.historySteps = 0;
  return options;
}

// A count from JavaScript: a whole number from 1 to limit, whatever it was
// given (a fraction, a negative number, NaN or infinity).
uint64_t countOf(double value, uint64_t limit) {
  if (!(value >= 1)) return 1;
  if (value >= static_cast<double>(limit)) return limit;
  return static_cast<uint64_t>(value);
}

const char* reasonName(StopReason reason) {
  switch (reason) {
    case StopReason::None:
      return "none";
    case StopReason::StepsDone:
      return "steps";
    case StopReason::Breakpoint:
      return "breakpoint";
    case StopReason::WatchChanged:
      return "watch";
    case StopReason::PlaceReached:
      return "place";
    case StopReason::Ended:
      return "ended";
    case StopReason::WaitingForInput:
      return "input";
    case StopReason::Paused:
      return "paused";
    case StopReason::BudgetUsed:
      return "budget";
    case StopReason::AtStart:
      return "start";
    case StopReason::HistoryExhausted:
      return "history";
  }
  return "none";
}

// text cut to at most bytes, not inside a UTF-8 sequence; true when cut.
bool cutText(std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return false;
  std::size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80 && bytes - end < 3) {
    --end;
  }
  text.resize(end);
  return true;
}

void appendField(std::string& out, const char* name) {
  if (out.size() > 1) out += ',';
  out += '"';
  out += name;
  out += "\":";
}

void appendNumber(std::string& out, const char* name, uint64_t value) {
  appendField(out, name);
  out += std::to_string(value);
}

void appendBool(std::string& out, const char* name, bool value) {
  appendField(out, name);
  out += value ? "true" : "false";
}

void appendText(std::string& out, const char* name, const std::string& text) {
  appendField(out, name);
  appendJsonString(out, text);
}

void appendVariables(std::string& out, const std::vector<VariableView>& variables) {
  appendField(out, "variables");
  out += '[';
  bool first = true;
  for (VariableView variable : variables) {
    if (!first) out += ',';
    first = false;
    const bool cut = cutText(variable.value, PageSession::kValueBytes);
    std::string item = "{";
    appendText(item, "name", variable.name);
    appendText(item, "type", variableTypeName(variable.type));
    appendText(item, "value", shownValue(variable.value, variable.type));
    appendBool(item, "changed", variable.changed);
    appendBool(item, "cut", cut);
    out += item + '}';
  }
  out += ']';
}

void appendStack(std::string& out, std::vector<std::string> stack) {
  appendField(out, "stack");
  out += '[';
  const std::size_t shown = std::min(stack.size(), PageSession::kStackShown);
  for (std::size_t i = 0; i < shown; ++i) {
    if (i > 0) out += ',';
    cutText(stack[i], PageSession::kValueBytes);
    appendJsonString(out, shownValue(stack[i]));
  }
  out += ']';
  appendNumber(out, "depth", stack.size());
}

void appendFlags(std::string& out, const CompareFlags& flags) {
  appendField(out, "flags");
  const bool bits[] = {flags.equal,          flags.notEqual, flags.greater,
                       flags.greaterOrEqual, flags.less,     flags.lessOrEqual};
  out += '[';
  for (std::size_t i = 0; i < 6; ++i) {
    if (i > 0) out += ',';
    out += bits[i] ? '1' : '0';
  }
  out += ']';
}

}  // namespace

PageSession::PageSession(std::string source, bool record) {
  // tarnel's own lines, byte for byte (a carriage return the source held
  // included), come from the translator's path; the session's program from
  // the same front end and bytecode writer, with its lines kept.
  TranslatorResult assembled = assembleText(source);
  console_ = std::move(assembled.console);
  closingLine_ = std::move(assembled.closingLine);
  if (!assembled.written) return;
  DebugProgram program;
  std::vector<std::string> messages;
  if (!assembleProgram("program.tarnel", std::move(source), program, messages)) return;
  session_ = std::make_unique<DebugSession>(std::move(program), pageHistory(record));
}

PageSession::~PageSession() = default;

bool PageSession::assembled() const { return session_ != nullptr; }

void PageSession::runOn() {
  if (session_) session_->startContinue();
}

void PageSession::step(double count) {
  if (session_) session_->startStep(countOf(count, uint64_t{1} << 40));
}

void PageSession::stepBack(double count) {
  if (session_) session_->startStepBack(countOf(count, uint64_t{1} << 40));
}

void PageSession::pause() {
  if (session_) session_->pause();
}

std::string PageSession::advance(double budget) {
  if (!session_) return reasonName(StopReason::None);
  return reasonName(session_->advance(countOf(budget, uint64_t{1} << 40)));
}

void PageSession::feedInput(const std::string& text) {
  if (session_) session_->feedInput(text);
}

void PageSession::endInput() {
  if (session_) session_->endInput();
}

std::string PageSession::takeOutput() { return session_ ? session_->takeOutput() : std::string(); }

double PageSession::outputLength() const {
  return session_ ? static_cast<double>(session_->outputLength()) : 0;
}

double PageSession::steps() const {
  return session_ ? static_cast<double>(session_->stepsTaken()) : 0;
}

void PageSession::clearBreakpoints() {
  if (session_) session_->deleteAllBreakpoints();
}

int PageSession::addBreakpointLine(int line) {
  if (!session_) return 0;
  const PlaceResult place = session_->map().resolveLine(line);
  if (place.record < 0) return 0;
  session_->addBreakpoint(place.record);
  return session_->map().lineAt(place.record);
}

std::string PageSession::stateJson() {
  if (!session_) return "{}";
  DebugSession& session = *session_;
  std::string out = "{";
  appendText(out, "stop", reasonName(session.lastStop()));
  appendNumber(out, "line", static_cast<uint64_t>(std::max(session.line(), 0)));
  appendNumber(out, "steps", session.stepsTaken());
  appendBool(out, "ended", session.ended());
  appendNumber(out, "undoable", session.undoableSteps());
  appendNumber(out, "dropped", session.droppedSteps());
  appendText(out, "effect", session.lastStepEffect());
  appendVariables(out, session.variables());
  appendStack(out, session.stack());
  appendBool(out, "compared", session.compared());
  appendFlags(out, session.flags());
  std::string pending = session.pendingInput();
  cutText(pending, kValueBytes);
  appendText(out, "pendingInput", pending);
  appendBool(out, "inputEnded", session.inputEnded());
  appendField(out, "notes");
  out += '[';
  bool first = true;
  for (const std::string& note : session.takeNotes()) {
    if (!first) out += ',';
    first = false;
    appendJsonString(out, note);
  }
  out += "]}";
  return out;
}
