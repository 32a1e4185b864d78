// Bytecode text generation; see bytecode_text.h.
#include "bytecode_text.h"

#include <string>

#include "front_end.h"
#include "mnemonics.h"

namespace {

std::string variableEntry(const VariableSlot& slot) {
  switch (slot.type) {
    case VariableInteger:
      return slot.name + "&:" + slot.value;
    case VariableFloat:
      return slot.name + "#:" + slot.value;
    case VariableString:
      break;
  }
  return slot.name + "$:" + (slot.value.empty() ? "\"\"" : slot.value);
}

}  // namespace

std::string instructionEntry(const StatementSlot& slot) {
  const Mnemonic* mnemonic = mnemonicByCode(lookupMnemonic(slot.mnemonic));
  if (mnemonic == nullptr) {
    reportError("invalid instruction [%s]", slot.mnemonic.c_str());
    return std::string();
  }
  const std::string& second = mnemonic->operandCount == 2 ? slot.operand2 : "0";
  return std::to_string(mnemonic->opcode) + "!" + slot.operand1 + ":" + second;
}

std::string labelEntry(const StatementSlot& slot) {
  std::string entry = slot.labelText;
  std::string::size_type colon = entry.find(':');
  if (colon != std::string::npos) entry[colon] = '@';
  return entry;
}

std::string bytecodeText(const ProgramTables& tables) {
  std::string text = "var{";
  for (const VariableSlot& slot : tables.variables()) {
    if (slot.inUse) text += variableEntry(slot) + ",";
  }
  text += "con0&:0}code{";
  for (const StatementSlot& slot : tables.statements()) {
    if (!slot.inUse) continue;
    if (slot.isLabel) {
      text += labelEntry(slot) + ",";
      continue;
    }
    std::string entry = instructionEntry(slot);
    if (!entry.empty()) text += entry + ",";
  }
  text += "stop@,0!0:0}";
  return text;
}
