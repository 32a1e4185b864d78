// Bytecode programs made at random for the differential tests of the
// engine and of the debugging core: every opcode and some that are none,
// odd opcode texts, all three variable types, literals and variables (and
// near-names) as operands, resolved, unresolved and numeric jump targets,
// division by zero, 32-bit overflow and float carries, and input words.
#pragma once

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

class ProgramGenerator {
 public:
  explicit ProgramGenerator(unsigned long long seed) : random_(seed) {}

  std::string program() {
    std::string text = "var{";
    const int variableCount = below(9);
    strings_.clear();
    std::vector<std::string> declared;
    for (int i = 0; i < variableCount; ++i) {
      const std::string name = pick(kNames);
      const std::string marker = pick({"$", "&", "#", "&", "#"});
      // The first declaration of a name is the one instructions see.
      bool seen = false;
      for (const std::string& other : declared) seen = seen || other == name;
      if (!seen && marker == "$") strings_.push_back(name);
      declared.push_back(name);
      text += name + marker + ":" + value() + ",";
    }
    text += "con0&:0}code{";
    const int records = 1 + below(40);
    for (int i = 0; i < records; ++i) text += record() + ",";
    if (below(4) != 0) text += "stop@,0!0:0";
    return text + "}";
  }

  std::string input() {
    std::string text;
    const int words = below(6);
    for (int i = 0; i < words; ++i) text += pick(kValues) + pick({" ", "\n", "\t "});
    return text;
  }

  // A countdown that runs far beyond any step bound the test sets.
  std::string longRun() {
    const std::string type = pick({"&", "#", "$"});
    return "var{n" + type + ":" + std::to_string(1000000 + below(1000)) +
           ",x#:0.1,s$:\"\",con0&:0}" +
           "code{top@,4!x:0.1,6!x:1.0000001,4!s:\"ab\",23!s:0,22!n:0,3!n:0,14!n:0,19!top:0," +
           "12!n:0,stop@,0!0:0}";
  }

  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

 private:
  std::string pick(const std::vector<std::string>& choices) {
    return choices[static_cast<std::size_t>(below(static_cast<int>(choices.size())))];
  }

  std::string value() { return below(3) == 0 ? pick(kNumbers) : pick(kValues); }

  std::string operand() {
    switch (below(6)) {
      case 0:
      case 1:
        return pick(kNames);
      case 2:
        return pick(kNames) + " ";  // not a variable: a literal
      case 3:
        return pick(kNumbers);
      default:
        return pick(kValues);
    }
  }

  std::string target() {
    switch (below(4)) {
      case 0:
      case 1:
        return pick(kLabels);
      case 2:
        return pick({"nowhere", "Top", "x1", "q"});  // unresolved: a letter first
      default:
        return pick({"0", "1", "3", "-2", "999", "_u", "7abc", " 2", "2147483648", ""});
    }
  }

  std::string opcode() {
    switch (below(12)) {
      case 0:
        return pick({" 4", "+2", "04", "4x", "x9", "57", "-1", "", "-5", "2147483648", "24", "0"});
      case 1:
      case 2:
        return std::to_string(15 + below(7));
      default:
        return std::to_string(1 + below(23));
    }
  }

  std::string record() {
    if (below(8) == 0) return pick(kLabels) + "@";
    std::string code = opcode();
    const int number = std::atoi(code.c_str());
    const bool jump = number >= 15 && number <= 21;
    std::string first = jump ? target() : operand();
    if (number == 14 && below(3) != 0) first = pick(kNames);
    std::string second = operand();
    // A string variable that gains another variable's text could double at
    // each round of a loop; it gains literals only, and so grows slowly.
    bool toString = false;
    for (const std::string& name : strings_) toString = toString || name == first;
    if (number == 4 && toString) second = value();
    return code + "!" + first + ":" + second;
  }

  const std::vector<std::string> kNames = {"a", "b", "c", "n", "x", "s", "v1"};
  const std::vector<std::string> kLabels = {"top", "l1", "end", "3", "_u", "stop"};
  const std::vector<std::string> kNumbers = {"0",
                                             "1",
                                             "-7",
                                             "42",
                                             "2147483647",
                                             "-2147483648",
                                             "99999999999",
                                             "3.9",
                                             " 12",
                                             "+5",
                                             "65536",
                                             "-1",
                                             "2.5",
                                             "0.1",
                                             "1e10",
                                             "-0.25",
                                             "1.5e-3",
                                             "9999999999.5",
                                             "0.99999999996",
                                             "1234567890.5",
                                             "1e308",
                                             "-0",
                                             "0.5",
                                             "7"};
  const std::vector<std::string> kValues = {"\"hi\"",     "\"a\\nb\\t\"", "\"\"",  "\"5\"",  "abc",
                                            "\"x,y:z}\"", "\\",           "12abc", "-3.5e2", "."};
  std::mt19937_64 random_;
  std::vector<std::string> strings_;  // the string variables of the program being made
};
