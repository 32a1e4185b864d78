// Trace words for one step; see step_effect.h.
#include "step_effect.h"

#include "escapes.h"
#include "opcodes.h"

namespace {

bool jumpFlag(int opcode, const CompareFlags& flags) {
  switch (static_cast<Opcode>(opcode)) {
    case Opcode::Jmp:
      return true;
    case Opcode::Jne:
      return flags.notEqual;
    case Opcode::Je:
      return flags.equal;
    case Opcode::Jge:
      return flags.greaterOrEqual;
    case Opcode::Jg:
      return flags.greater;
    case Opcode::Jl:
      return flags.less;
    case Opcode::Jle:
      return flags.lessOrEqual;
    default:
      return false;
  }
}

}  // namespace

std::string visibleText(const std::string& text) {
  static const char kDigits[] = "0123456789abcdef";
  std::string shown;
  shown.reserve(text.size());
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7f) {
      shown += "\\x";
      shown += kDigits[byte >> 4];
      shown += kDigits[byte & 0xf];
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string shownValue(const std::string& printed) {
  return printed.empty() ? "(empty)" : visibleText(printed);
}

std::string shownValue(const std::string& printed, int type) {
  if (type != kStringVariable) return shownValue(printed);
  std::string shown = "\"";
  std::size_t start = 0;
  for (std::size_t feed = printed.find('\n'); feed != std::string::npos;
       feed = printed.find('\n', start)) {
    shown += visibleText(printed.substr(start, feed - start)) + "\\n";
    start = feed + 1;
  }
  return shown + visibleText(printed.substr(start)) + "\"";
}

std::string setFlagNames(const CompareFlags& flags) {
  const std::pair<bool, const char*> named[] = {
      {flags.equal, "equal"},     {flags.notEqual, "notEqual"},
      {flags.greater, "greater"}, {flags.greaterOrEqual, "greaterOrEqual"},
      {flags.less, "less"},       {flags.lessOrEqual, "lessOrEqual"}};
  std::string names;
  for (const auto& [set, name] : named) {
    if (!set) continue;
    if (!names.empty()) names += " ";
    names += name;
  }
  return names.empty() ? "none set" : names;
}

std::string stepEffect(const CodeRecordView& record, int opcode, const StepState& state) {
  const std::string operand1(record.operand1);
  const std::string named = visibleText(operand1);
  const std::string missing = "no variable " + named + ": nothing changes";
  auto assigned = [&] { return named + " = " + state.destinationValue; };

  if (isJumpOpcode(opcode)) {
    if (startsWithLetter(operand1)) return "no label " + named + ": not taken";
    if (!jumpFlag(opcode, state.flags)) return "jump not taken";
    return "jump taken to " + state.positionAfterText;
  }
  switch (static_cast<Opcode>(opcode)) {
    case Opcode::Halt:
      return "the program ends";
    case Opcode::Mov:
    case Opcode::Inc:
    case Opcode::Dec:
    case Opcode::Add:
    case Opcode::Sub:
    case Opcode::Mul:
    case Opcode::Div:
    case Opcode::And:
    case Opcode::Or:
    case Opcode::Xor:
    case Opcode::Not:
    case Opcode::Input:
      return state.hasDestination ? assigned() : missing;
    case Opcode::Cmp:
      if (!state.hasDestination) return "no variable " + named + ": the flags stay";
      return "flags: " + setFlagNames(state.flags);
    case Opcode::Push:
      return "pushed " + state.pushedValue;
    case Opcode::Pop:
      if (!state.hasDestination) return "no variable " + named + ": nothing is popped";
      if (state.stackWasEmpty) return "the stack was empty, " + assigned();
      return "popped, " + assigned();
    default:
      return std::string();
  }
}
