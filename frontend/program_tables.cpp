// The front end's variable and statement slots.
#include "program_tables.h"

void ProgramTables::reserveVariables(int n) {
  variables_.assign(n > 0 ? static_cast<std::size_t>(n) : 0, VariableSlot());
  nextVariable_ = 0;
}

void ProgramTables::reserveStatements(int n) {
  statements_.assign(n > 0 ? static_cast<std::size_t>(n) : 0, StatementSlot());
  nextStatement_ = 0;
}

void ProgramTables::addVariable(const std::string& name, const std::string& value,
                                VariableType type, SourcePosition position) {
  if (nextVariable_ >= variables_.size()) return;
  VariableSlot& slot = variables_[nextVariable_++];
  slot.name = name;
  slot.value = value;
  slot.type = type;
  slot.inUse = true;
  slot.position = position;
}

void ProgramTables::addInstruction(const std::string& mnemonic, const std::string& operand1,
                                   const std::string& operand2, SourcePosition position,
                                   SourceSpan operand1Field, SourceSpan operand2Field) {
  if (nextStatement_ >= statements_.size()) return;
  StatementSlot& slot = statements_[nextStatement_++];
  slot.mnemonic = mnemonic;
  slot.operand1 = operand1;
  slot.operand2 = operand2;
  slot.inUse = true;
  slot.position = position;
  slot.operand1Field = operand1Field;
  slot.operand2Field = operand2Field;
}

void ProgramTables::addLabel(const std::string& text, SourcePosition position) {
  if (nextStatement_ >= statements_.size()) return;
  StatementSlot& slot = statements_[nextStatement_++];
  slot.labelText = text;
  slot.inUse = true;
  slot.isLabel = true;
  slot.position = position;
}
