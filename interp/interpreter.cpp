// The run sequence and the name look-ups shared by the engine.
#include "interpreter.h"

#include "escapes.h"
#include "execution_engine.h"
#include "file_text.h"

Interpreter::Interpreter(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

void Interpreter::run(const std::string& path) {
  load(path);
  (void)writeDebugReport();
  execute();
}

void Interpreter::load(const std::string& path) { loadText(readFileText(path)); }

void Interpreter::addVariable(const std::string& name, const std::string& value, int type) {
  variables.push_back(VariableRecord{name, value, type});
}

int Interpreter::findVariable(const std::string& name) const {
  for (std::size_t i = 0; i < variables.size(); ++i) {
    if (variables[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

std::string Interpreter::operandText(const std::string& operand) const {
  int index = findVariable(operand);
  return index < 0 ? operand : variables[static_cast<std::size_t>(index)].value;
}

void Interpreter::clearFlags() { flags = CompareFlags{}; }

std::string Interpreter::expandEscapes(const std::string& text) { return ::expandEscapes(text); }

void Interpreter::execute() { ExecutionEngine(*this, in_, out_).run(); }
