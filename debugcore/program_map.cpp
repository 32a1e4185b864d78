// The debugger's view of a loaded program; see program_map.h.
#include "program_map.h"

#include <cctype>

#include "escapes.h"
#include "mnemonics.h"
#include "opcodes.h"
#include "step_effect.h"
#include "value_conversions.h"

namespace {

// The mnemonic row of every opcode from 1 to 23; the assembler's table is
// the one list of them.
const Mnemonic* mnemonicOfOpcode(int opcode) {
  for (int code = 1; code <= 23; ++code) {
    const Mnemonic* mnemonic = mnemonicByCode(code);
    if (mnemonic != nullptr && mnemonic->opcode == opcode) return mnemonic;
  }
  return nullptr;
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Digits, or a minus sign and digits: a line or record number, right or
// wrong.
bool isNumber(const std::string& text) {
  const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
  return text.size() > first && text.find_first_not_of("0123456789", first) == std::string::npos;
}

std::string withoutBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

bool parseCount(const std::string& text, unsigned long long limit, unsigned long long& value) {
  if (text.empty()) return false;
  unsigned long long result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (result > (limit - digit) / 10) return false;
    result = result * 10 + digit;
  }
  value = result;
  return true;
}

ProgramMap::ProgramMap(const CodeTable& code, const DebugProgram& program)
    : lines_(program.sourceLines), path_(program.path), fromSource_(program.fromSource) {
  const int total = code.count();
  records_.resize(static_cast<std::size_t>(total));
  for (int i = 0; i < total; ++i) {
    const CodeRecordView view = code.view(i);
    RecordInfo& info = records_[static_cast<std::size_t>(i)];
    info.opcode = toInteger(view.opcode);
    info.label = std::string(view.label);
    if (static_cast<std::size_t>(i) < program.recordLines.size()) {
      info.line = program.recordLines[static_cast<std::size_t>(i)];
    }
  }
  // Jumps are shown by the label they were resolved to, which needs every
  // label record known first.
  for (int i = 0; i < total; ++i) {
    const CodeRecordView view = code.view(i);
    RecordInfo& info = records_[static_cast<std::size_t>(i)];
    const std::string operand1(view.operand1);
    if (info.opcode == static_cast<int>(Opcode::Label)) {
      info.instruction = info.label + ":";
      continue;
    }
    if (info.opcode == static_cast<int>(Opcode::Halt)) {
      info.instruction = "halt";
      continue;
    }
    const Mnemonic* mnemonic = mnemonicOfOpcode(info.opcode);
    if (mnemonic == nullptr) {
      info.instruction = std::string(view.opcode) + "!" + operand1 + ":" +
                         std::string(view.operand2) + " (passed over)";
      continue;
    }
    std::string first = operand1;
    if (isJumpOpcode(info.opcode) && !startsWithLetter(operand1)) {
      // A resolved jump holds its label record's position.
      const int target = toInteger(operand1);
      if (target >= 0 && target < total && operand1 == std::to_string(target) &&
          records_[static_cast<std::size_t>(target)].opcode == static_cast<int>(Opcode::Label)) {
        first = records_[static_cast<std::size_t>(target)].label;
      }
    }
    info.instruction = std::string(mnemonic->text) + " " + first;
    if (mnemonic->operandCount == 2) info.instruction += "," + std::string(view.operand2);
  }
  for (RecordInfo& info : records_) info.instruction = visibleText(info.instruction);
}

int ProgramMap::lineAt(int position) const {
  if (position < 0 || position >= count()) return 0;
  return record(position).line;
}

int ProgramMap::instructionFrom(int index) const {
  if (index < 0) return count();
  while (index < count() && record(index).opcode == static_cast<int>(Opcode::Label)) ++index;
  return index;
}

std::string ProgramMap::describe(int position) const {
  const std::string where = "#" + std::to_string(position);
  if (position < 0 || position >= count()) return where + ": the end of the program";
  const RecordInfo& info = record(position);
  if (info.line == 0) return where + ": " + info.instruction;
  return where + " (line " + std::to_string(info.line) + "): " + info.instruction;
}

PlaceResult ProgramMap::resolve(const std::string& place) const {
  if (!place.empty() && place[0] == '#') return resolveRecord(place.substr(1));
  if (isNumber(place)) return fromSource_ ? resolveLineText(place) : resolveRecord(place);
  // FILE:LINE, when FILE names this program.
  const std::size_t colon = place.rfind(':');
  if (colon != std::string::npos && colon > 0 && isNumber(place.substr(colon + 1))) {
    const std::string file = place.substr(0, colon);
    const std::size_t slash = path_.rfind('/');
    const std::string base = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    if (file != path_ && file != base) {
      PlaceResult result;
      result.problem = "no file " + file + " here: the program is " + path_;
      return result;
    }
    return resolve(place.substr(colon + 1));
  }
  return resolveLabel(place);
}

PlaceResult ProgramMap::resolveLine(int line) const {
  if (!fromSource_) return resolveRecord(std::to_string(line));
  return resolveLineText(std::to_string(line));
}

PlaceResult ProgramMap::resolveRecord(const std::string& digits) const {
  PlaceResult result;
  unsigned long long number = 0;
  if (digits.size() > 1 && digits[0] == '-' && parseCount(digits.substr(1), UINT64_MAX, number)) {
    result.problem = count() == 0 ? "the program has no records"
                                  : "there is no record #" + digits + ": the records are #0 to #" +
                                        std::to_string(count() - 1);
    return result;
  }
  if (!parseCount(digits, 0x7fffffff, number)) {
    result.problem = "\"#\" needs a record position, such as #4";
    return result;
  }
  const int position = static_cast<int>(number);
  if (count() == 0) {
    result.problem = "the program has no records";
  } else if (position >= count()) {
    result.problem =
        "there is no record #" + digits + ": the records are #0 to #" + std::to_string(count() - 1);
  } else if (instructionFrom(position) == count()) {
    result.problem = "no instruction follows #" + std::to_string(position);
  } else {
    result.record = instructionFrom(position);
  }
  return result;
}

PlaceResult ProgramMap::resolveLineText(const std::string& digits) const {
  PlaceResult result;
  unsigned long long number = 0;
  if (digits[0] == '-' || !parseCount(digits, 0x7fffffff, number) || number == 0 ||
      number > static_cast<unsigned long long>(lineCount())) {
    result.problem = "there is no line " + digits + ": " + path_ + " has " +
                     std::to_string(lineCount()) + " lines";
    return result;
  }
  const int line = static_cast<int>(number);
  // The nearest line at or after line that holds a record, and its first.
  int best = -1;
  for (int i = 0; i < count(); ++i) {
    const int at = record(i).line;
    if (at >= line && (best < 0 || at < record(best).line)) best = i;
  }
  if (best < 0 || instructionFrom(best) == count()) {
    result.problem = "no instruction at or after line " + digits;
    return result;
  }
  result.record = instructionFrom(best);
  return result;
}

PlaceResult ProgramMap::resolveLabel(const std::string& name) const {
  PlaceResult result;
  int found = -1;
  for (int pass = 0; pass < 2 && found < 0; ++pass) {
    for (int i = 0; i < count() && found < 0; ++i) {
      const RecordInfo& info = record(i);
      if (info.opcode != static_cast<int>(Opcode::Label)) continue;
      if (pass == 0 ? info.label == name
                    : withoutBlanks(info.label) == (fromSource_ ? lowerCase(name) : name)) {
        found = i;
      }
    }
  }
  if (found < 0) {
    result.problem = "no label named " + name;
  } else if (instructionFrom(found) == count()) {
    result.problem = "no instruction follows label " + name;
  } else {
    result.record = instructionFrom(found);
    const std::string& label = record(found).label;
    if (fromSource_ && !label.empty() && label[0] == ' ') {
      // The words of tarnel_check's warning on such a label.
      const std::string target = withoutBlanks(label);
      result.note =
          "this label is indented, so its name keeps a blank in front and the jumps to "
          "\"" +
          target + "\" never find it: kivinterp reports \"invalid code label " + target +
          "\"; start the label in the first column";
    }
  }
  return result;
}
