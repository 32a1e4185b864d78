// The straightforward loader and engine the tests measure the fast ones by.
#include "reference_engine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <ostream>

#include "escapes.h"
#include "text_routines.h"
#include "token_list.h"
#include "value_conversions.h"

namespace {

struct ExactDigits {
  std::string digits;
  int exponent = 0;
};

ExactDigits printedDigits(double magnitude, int precision) {
  std::string buffer(static_cast<std::size_t>(precision) + 32, '\0');
  int length = std::snprintf(&buffer[0], buffer.size(), "%.*e", precision, magnitude);
  buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  ExactDigits result;
  std::size_t at = 0;
  for (; at < buffer.size() && buffer[at] != 'e'; ++at) {
    if (buffer[at] >= '0' && buffer[at] <= '9') result.digits += buffer[at];
  }
  result.exponent = at < buffer.size() ? std::atoi(buffer.c_str() + at + 1) : 0;
  return result;
}

std::string trimmedFraction(std::string fraction) {
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  return fraction;
}

int findOutsideQuotes(int start, const std::string& text, const char* pattern) {
  return textFindOutsideQuotes(start, text.c_str(), pattern);
}

std::string cut(const std::string& text, int from, int to) {
  int length = static_cast<int>(text.size());
  if (from < 0) from = 0;
  if (to > length) to = length;
  if (to <= from) return std::string();
  return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

std::string section(const std::string& text, const char* opening, int length) {
  int begin = findOutsideQuotes(0, text, opening);
  if (begin < 0) return std::string();
  int end = findOutsideQuotes(begin + 1, text, "}");
  if (end < 0) return std::string();
  return cut(text, begin + length, end);
}

void labelPass(std::vector<CodeRecord>& code) {
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (code[i].label.empty()) continue;
    for (CodeRecord& jump : code) {
      int opcode = toInteger(jump.opcode);
      if (opcode >= 15 && opcode <= 21 && jump.operand1 == code[i].label) {
        jump.operand1 = std::to_string(i);
      }
    }
  }
}

}  // namespace

std::string exactFloatText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  std::string sign = std::signbit(value) ? "-" : "";
  double magnitude = std::fabs(value);
  ExactDigits number;
  if (magnitude == 0.0) {
    number.digits = std::string(10, '0');
    number.exponent = -1;
  } else {
    number = printedDigits(magnitude, 40);
    if (number.digits.size() > 10 && number.digits[10] == '5' &&
        number.digits.find_first_not_of('0', 11) == std::string::npos) {
      number = printedDigits(magnitude, 800);
    }
  }
  const int m = number.exponent;
  bool up = number.digits.size() > 10 && number.digits[10] >= '5';
  number.digits.resize(10, '0');
  if (up) {
    std::size_t i = 10;
    while (i-- > 0 && number.digits[i] == '9') number.digits[i] = '0';
    if (i < 10) {
      ++number.digits[i];
    } else {
      number.digits = "1" + number.digits.substr(0, 9);
      ++number.exponent;
    }
  }
  if (m < -1 || m > 9) {
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%03d", number.exponent < 0 ? '-' : '+',
                  std::abs(number.exponent));
    return sign + number.digits.substr(0, 1) + "." + trimmedFraction(number.digits.substr(1)) +
           exponent;
  }
  auto digitAt = [&](int power) {
    int index = number.exponent - power;
    return index < 0 || index >= 10 ? '0' : number.digits[static_cast<std::size_t>(index)];
  };
  std::string integerPart;
  for (int power = number.exponent; power >= 0; --power) integerPart += digitAt(power);
  if (integerPart.empty()) integerPart = "0";
  if (9 - m <= 0) return sign + integerPart;
  std::string fraction;
  for (int power = -1; power >= -(9 - m); --power) fraction += digitAt(power);
  return sign + integerPart + "." + trimmedFraction(fraction);
}

std::string describeState(const std::vector<VariableRecord>& variables,
                          const std::vector<std::string>& stack, const CompareFlags& flags) {
  std::string text;
  for (const VariableRecord& v : variables) {
    text += "[" + v.name + "|" + std::to_string(v.type) + "|" + v.value + "]";
  }
  text += "\nstack:";
  for (const std::string& entry : stack) text += "[" + entry + "]";
  text += "\nflags:";
  for (bool flag : {flags.equal, flags.notEqual, flags.greater, flags.greaterOrEqual, flags.less,
                    flags.lessOrEqual}) {
    text += flag ? '1' : '0';
  }
  return text;
}

ReferenceProgram referenceLoad(const std::string& text) {
  ReferenceProgram program;
  TokenList variables;
  variables.split(section(text, "var{", 4).c_str(), ',');
  for (int i = 0; i < variables.count(); ++i) {
    std::string entry = variables.at(i);
    int colon = findOutsideQuotes(0, entry, ":");
    if (colon < 0) continue;
    std::string name = cut(entry, 0, colon);
    std::string value = cut(entry, colon + 1, static_cast<int>(entry.size()));
    const char* const markers[] = {"$", "&", "#"};
    for (int type = 0; type < 3; ++type) {
      int marker = findOutsideQuotes(0, name, markers[type]);
      if (marker < 0) continue;
      name = cut(name, 0, marker);
      program.variables.push_back(VariableRecord{name, value, type});
    }
  }
  TokenList entries;
  entries.split(section(text, "code{", 5).c_str(), ',');
  for (int i = 0; i < entries.count(); ++i) {
    std::string entry = entries.at(i);
    int at = findOutsideQuotes(0, entry, "@");
    if (at >= 0) {
      program.code.push_back(CodeRecord{"-1", "0", "0", cut(entry, 0, at)});
      continue;
    }
    int bang = findOutsideQuotes(0, entry, "!");
    int colon = bang < 0 ? -1 : findOutsideQuotes(bang + 1, entry, ":");
    if (colon >= 0) {
      program.code.push_back(CodeRecord{cut(entry, 0, bang), cut(entry, bang + 1, colon),
                                        cut(entry, colon + 1, static_cast<int>(entry.size())), ""});
    }
    labelPass(program.code);
  }
  return program;
}

ReferenceEngine::ReferenceEngine(ReferenceProgram& program, std::istream& in, std::ostream& out)
    : program_(program), in_(in), out_(out) {}

int ReferenceEngine::position() const {
  const int64_t count = static_cast<int64_t>(program_.code.size());
  int64_t at = counter_;
  while (at >= 0 && at < count &&
         toInteger(program_.code[static_cast<std::size_t>(at)].opcode) == -1) {
    ++at;
  }
  return static_cast<int>(at < 0 || at >= count ? count : at);
}

int ReferenceEngine::findVariable(const std::string& name) const {
  for (std::size_t i = 0; i < program_.variables.size(); ++i) {
    if (program_.variables[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

std::string ReferenceEngine::operandText(const std::string& operand) const {
  int index = findVariable(operand);
  return index < 0 ? operand : program_.variables[static_cast<std::size_t>(index)].value;
}

void ReferenceEngine::errorLine(const std::string& text) { out_ << text << '\n' << std::flush; }

bool ReferenceEngine::run(uint64_t maxSteps) {
  const uint64_t limit = taken_ + maxSteps;
  while (!finished_) {
    const int64_t count = static_cast<int64_t>(program_.code.size());
    if (counter_ < 0 || counter_ >= count) {
      finished_ = true;
      break;
    }
    const CodeRecord record = program_.code[static_cast<std::size_t>(counter_)];
    const int opcode = toInteger(record.opcode);
    if (opcode == -1) {
      ++counter_;
      continue;
    }
    if (taken_ == limit) return true;
    ++taken_;
    if (opcode == 0) {
      finished_ = true;
      break;
    }
    perform(opcode, record);
  }
  return false;
}

void ReferenceEngine::perform(int opcode, const CodeRecord& record) {
  std::vector<VariableRecord>& variables = program_.variables;
  const int destinationIndex = findVariable(record.operand1);
  VariableRecord* destination =
      destinationIndex < 0 ? nullptr : &variables[static_cast<std::size_t>(destinationIndex)];
  const std::string& name = record.operand1;
  CompareFlags& flags = program_.flags;

  if (opcode >= 15 && opcode <= 21) {
    if (startsWithLetter(name)) {
      errorLine((opcode == 18 ? " invalid code label " : "invalid code label ") + name);
      ++counter_;
      return;
    }
    const bool taken = opcode == 15   ? true
                       : opcode == 16 ? flags.notEqual
                       : opcode == 17 ? flags.equal
                       : opcode == 18 ? flags.greaterOrEqual
                       : opcode == 19 ? flags.greater
                       : opcode == 20 ? flags.less
                                      : flags.lessOrEqual;
    counter_ = taken ? toInteger(name) : counter_ + 1;
    return;
  }
  ++counter_;
  switch (opcode) {
    case 1:
      if (destination != nullptr) destination->value = operandText(record.operand2);
      break;
    case 2:
    case 3:
      if (destination == nullptr) {
        errorLine("error invalid variable " + name +
                  (opcode == 2 ? " on the inc instruction" : " on the dec instruction"));
      } else {
        int32_t value = toInteger(destination->value);
        destination->value =
            integerText(opcode == 2 ? wrappingAdd(value, 1) : wrappingSub(value, 1));
      }
      break;
    case 4:
    case 5:
    case 6:
    case 7: {
      if (destination == nullptr) break;
      const std::string source = operandText(record.operand2);
      if (destination->type == kIntegerVariable) {
        int32_t a = toInteger(destination->value);
        int32_t b = toInteger(source);
        if (opcode == 7 && b == 0) {
          errorLine("division by zero error.. ");
          a = b = 1;
        }
        int32_t result = opcode == 4   ? wrappingAdd(a, b)
                         : opcode == 5 ? wrappingSub(a, b)
                         : opcode == 6 ? wrappingMul(a, b)
                                       : wrappingDiv(a, b);
        destination->value = integerText(result);
      } else if (destination->type == kFloatVariable) {
        double a = toFloat(destination->value);
        double b = toFloat(source);
        if (opcode == 7 && b == 0.0) {
          errorLine("division by zero error.. ");
          a = b = 1.0;
        }
        double result = opcode == 4 ? a + b : opcode == 5 ? a - b : opcode == 6 ? a * b : a / b;
        destination->value = exactFloatText(result);
      } else if (destination->type == kStringVariable && opcode == 4) {
        destination->value += source;
      }
      break;
    }
    case 8:
    case 9:
    case 10:
      if (destination != nullptr) {
        int32_t a = toInteger(destination->value);
        int32_t b = toInteger(operandText(record.operand2));
        destination->value = integerText(opcode == 8 ? (a & b) : opcode == 9 ? (a | b) : (a ^ b));
      }
      break;
    case 11:
      if (destination == nullptr) {
        errorLine("error invalid variable on  not instruction [" + name + "]");
      } else {
        destination->value = toInteger(destination->value) == 0 ? "1" : "0";
      }
      break;
    case 12:
      out_ << expandEscapes(operandText(name));
      break;
    case 13:
      if (destination == nullptr) {
        errorLine("invalid variable name: on input instruction " + name);
      } else {
        out_.flush();
        std::string word;
        if (!(in_ >> word)) word.clear();
        destination->value = word;
      }
      break;
    case 14:
      if (destination == nullptr) {
        errorLine(" error operand one variable not found on cmp instruction " + name);
      } else {
        int32_t x = toInteger(destination->value);
        int32_t y = toInteger(operandText(record.operand2));
        flags = CompareFlags{};
        flags.equal = x == y;
        flags.notEqual = x != y;
        flags.greater = x > y;
        flags.greaterOrEqual = x >= y;
        flags.less = x < y;
        flags.lessOrEqual = x <= y;
      }
      break;
    case 22:
      program_.stack.push_back(operandText(name));
      break;
    case 23:
      if (destination == nullptr) {
        errorLine("invalid variable on pop instruction ");
      } else if (program_.stack.empty()) {
        destination->value.clear();
      } else {
        destination->value = program_.stack.back();
        program_.stack.pop_back();
      }
      break;
    default:
      break;
  }
}
