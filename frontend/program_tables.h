// The front end's store: one variable slot per line of the variable block
// and one statement slot per line of the code block, filled from slot 0
// upward in source order. The back ends read the used slots and skip the
// others. Each used slot also records where its line stands in the source
// file; the back ends ignore that, the checker reports by it.
#pragma once

#include <string>
#include <vector>

#include "source_position.h"

enum VariableType { VariableString = 0, VariableInteger = 1, VariableFloat = 2 };

struct VariableSlot {
  std::string name;
  std::string value;
  VariableType type = VariableString;
  bool inUse = false;
  SourcePosition position;  // the first byte of the declaration line
};

struct StatementSlot {
  std::string mnemonic;
  std::string operand1;
  std::string operand2;
  bool inUse = false;
  bool isLabel = false;
  std::string labelText;  // the whole label line, in label slots only
  // The first byte of the line that is not a blank: the mnemonic, the
  // label's name, or a tab standing before either.
  SourcePosition position;
  // Instruction slots only: the stretches the operands were cut from, from
  // the byte after the mnemonic's blank (or after the comma) up to the byte
  // the cut stopped before, blanks included. Unknown for an operand the
  // line does not hold.
  SourceSpan operand1Field;
  SourceSpan operand2Field;
};

class ProgramTables {
 public:
  // Creates n empty slots.
  void reserveVariables(int n);
  void reserveStatements(int n);

  // Each fills the first free slot, the one after the last used; a call
  // with no free slot left changes nothing.
  void addVariable(const std::string& name, const std::string& value, VariableType type,
                   SourcePosition position = {});
  void addInstruction(const std::string& mnemonic, const std::string& operand1,
                      const std::string& operand2, SourcePosition position = {},
                      SourceSpan operand1Field = {}, SourceSpan operand2Field = {});
  void addLabel(const std::string& text, SourcePosition position = {});

  const std::vector<VariableSlot>& variables() const { return variables_; }
  const std::vector<StatementSlot>& statements() const { return statements_; }
  int variableCount() const { return static_cast<int>(variables_.size()); }
  int statementCount() const { return static_cast<int>(statements_.size()); }

 private:
  std::vector<VariableSlot> variables_;
  std::vector<StatementSlot> statements_;
  std::size_t nextVariable_ = 0;
  std::size_t nextStatement_ = 0;
};
