// The dispatch loop and every instruction from mov (1) to pop (23).
#include "execution_engine.h"

#include <istream>
#include <ostream>
#include <unordered_map>

#include "escapes.h"
#include "opcodes.h"
#include "value_conversions.h"

ExecutionEngine::ExecutionEngine(Interpreter& program, std::istream& in, std::ostream& out)
    : program_(program), in_(in), out_(out) {}

void ExecutionEngine::decode() {
  // The first variable of each name, as findVariable gives it, without a
  // linear search per operand.
  std::unordered_map<std::string, int> firstByName;
  for (std::size_t i = 0; i < program_.variables.size(); ++i) {
    firstByName.emplace(program_.variables[i].name, static_cast<int>(i));
  }
  auto variableOf = [&](const std::string& operand) {
    auto found = firstByName.find(operand);
    return found == firstByName.end() ? -1 : found->second;
  };
  steps_.resize(static_cast<std::size_t>(program_.code.count()));
  for (int i = 0; i < program_.code.count(); ++i) {
    const CodeRecord& record = program_.code[i];
    Step& step = steps_[static_cast<std::size_t>(i)];
    step.opcode = toInteger(record.opcode);
    step.operand1Variable = variableOf(record.operand1);
    step.operand2Variable = variableOf(record.operand2);
    step.targetIsName = startsWithLetter(record.operand1);
    step.target = toInteger(record.operand1);
  }
}

void ExecutionEngine::run() {
  decode();
  const int32_t count = program_.code.count();
  int32_t counter = 0;
  // A position outside the table, reached by a jump or by stepping past the
  // last record, ends the run as the end of the table does.
  while (counter >= 0 && counter < count) {
    const Step& step = steps_[static_cast<std::size_t>(counter)];
    const CodeRecord& record = program_.code[counter];
    if (step.opcode == static_cast<int>(Opcode::Label)) {
      ++counter;
      continue;
    }
    // Halt, and any opcode text without leading digits.
    if (step.opcode == static_cast<int>(Opcode::Halt)) break;
    if (isJumpOpcode(step.opcode)) {
      if (jumpTaken(step, record)) {
        counter = step.target;
        continue;
      }
    } else {
      perform(step, record);
    }
    ++counter;
  }
  out_.flush();
}

const std::string& ExecutionEngine::sourceText(int variable, const std::string& operand) const {
  return variable < 0 ? operand : program_.variables[static_cast<std::size_t>(variable)].value;
}

void ExecutionEngine::errorLine(const std::string& text) { out_ << text << '\n' << std::flush; }

bool ExecutionEngine::flagOf(int opcode) const {
  const CompareFlags& flags = program_.flags;
  switch (static_cast<Opcode>(opcode)) {
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
      return true;
  }
}

bool ExecutionEngine::jumpTaken(const Step& step, const CodeRecord& record) {
  if (step.targetIsName) {
    // The loader found no label of this name; the flag is not consulted.
    const char* prefix = step.opcode == static_cast<int>(Opcode::Jge) ? " invalid code label "
                                                                      : "invalid code label ";
    errorLine(prefix + record.operand1);
    return false;
  }
  return flagOf(step.opcode);
}

void ExecutionEngine::perform(const Step& step, const CodeRecord& record) {
  std::vector<VariableRecord>& variables = program_.variables;
  VariableRecord* destination = step.operand1Variable < 0
                                    ? nullptr
                                    : &variables[static_cast<std::size_t>(step.operand1Variable)];
  const std::string& source = sourceText(step.operand2Variable, record.operand2);
  const std::string& name = record.operand1;

  switch (static_cast<Opcode>(step.opcode)) {
    case Opcode::Mov:
      if (destination != nullptr) destination->value = source;
      break;
    case Opcode::Inc:
      if (destination == nullptr) {
        errorLine("error invalid variable " + name + " on the inc instruction");
      } else {
        destination->value = integerText(wrappingAdd(toInteger(destination->value), 1));
      }
      break;
    case Opcode::Dec:
      if (destination == nullptr) {
        errorLine("error invalid variable " + name + " on the dec instruction");
      } else {
        destination->value = integerText(wrappingSub(toInteger(destination->value), 1));
      }
      break;
    case Opcode::Add:
    case Opcode::Sub:
    case Opcode::Mul:
    case Opcode::Div:
      if (destination != nullptr) arithmetic(step.opcode, *destination, source);
      break;
    case Opcode::And:
    case Opcode::Or:
    case Opcode::Xor:
      if (destination != nullptr) bitwise(step.opcode, *destination, source);
      break;
    case Opcode::Not:
      if (destination == nullptr) {
        errorLine("error invalid variable on  not instruction [" + name + "]");
      } else {
        destination->value = toInteger(destination->value) == 0 ? "1" : "0";
      }
      break;
    case Opcode::Print:
      out_ << expandEscapes(sourceText(step.operand1Variable, name));
      break;
    case Opcode::Input:
      if (destination == nullptr) {
        errorLine("invalid variable name: on input instruction " + name);
      } else {
        out_.flush();
        std::string word;
        if (!(in_ >> word)) word.clear();
        destination->value = word;
      }
      break;
    case Opcode::Cmp:
      if (destination == nullptr) {
        errorLine(" error operand one variable not found on cmp instruction " + name);
      } else {
        compare(*destination, source);
      }
      break;
    case Opcode::Push:
      program_.stack.push(sourceText(step.operand1Variable, name));
      break;
    case Opcode::Pop:
      if (destination == nullptr) {
        errorLine("invalid variable on pop instruction ");
      } else {
        destination->value = program_.stack.pop();
      }
      break;
    default:
      // Any other number is passed over in silence.
      break;
  }
}

void ExecutionEngine::arithmetic(int opcode, VariableRecord& destination,
                                 const std::string& source) {
  const Opcode op = static_cast<Opcode>(opcode);
  if (destination.type == kIntegerVariable) {
    int32_t a = toInteger(destination.value);
    int32_t b = toInteger(source);
    if (op == Opcode::Div && b == 0) {
      errorLine("division by zero error.. ");
      a = 1;
      b = 1;
    }
    int32_t result = op == Opcode::Add   ? wrappingAdd(a, b)
                     : op == Opcode::Sub ? wrappingSub(a, b)
                     : op == Opcode::Mul ? wrappingMul(a, b)
                                         : wrappingDiv(a, b);
    destination.value = integerText(result);
  } else if (destination.type == kFloatVariable) {
    double a = toFloat(destination.value);
    double b = toFloat(source);
    if (op == Opcode::Div && b == 0.0) {
      errorLine("division by zero error.. ");
      a = 1.0;
      b = 1.0;
    }
    double result = op == Opcode::Add   ? a + b
                    : op == Opcode::Sub ? a - b
                    : op == Opcode::Mul ? a * b
                                        : a / b;
    destination.value = floatText(result);
  } else if (destination.type == kStringVariable && op == Opcode::Add) {
    // A string destination gains the source's text; sub, mul and div leave
    // it as it is.
    destination.value += source;
  }
}

void ExecutionEngine::bitwise(int opcode, VariableRecord& destination, const std::string& source) {
  const Opcode op = static_cast<Opcode>(opcode);
  int32_t a = toInteger(destination.value);
  int32_t b = toInteger(source);
  int32_t result = op == Opcode::And ? (a & b) : op == Opcode::Or ? (a | b) : (a ^ b);
  destination.value = integerText(result);
}

void ExecutionEngine::compare(const VariableRecord& variable, const std::string& source) {
  int32_t x = toInteger(variable.value);
  int32_t y = toInteger(source);
  program_.clearFlags();
  CompareFlags& flags = program_.flags;
  flags.equal = x == y;
  flags.notEqual = x != y;
  flags.greater = x > y;
  flags.greaterOrEqual = x >= y;
  flags.less = x < y;
  flags.lessOrEqual = x <= y;
}
