// The interpreter's program model and its run sequence: load a bytecode
// file into the variable and code tables, write the debug report, execute.
#pragma once

#include <iostream>
#include <string>
#include <vector>

#include "code_table.h"
#include "output_file.h"
#include "value_stack.h"

// Types as the bytecode file marks them.
enum VariableKind : int { kStringVariable = 0, kIntegerVariable = 1, kFloatVariable = 2 };

struct VariableRecord {
  std::string name;   // without its type marker
  std::string value;  // as the file holds it (a string keeps its quotes)
  int type = kStringVariable;
};

// The result of the most recent cmp, in the order cmp sets them.
struct CompareFlags {
  bool equal = false;
  bool notEqual = false;
  bool greater = false;
  bool greaterOrEqual = false;
  bool less = false;
  bool lessOrEqual = false;
};

class Interpreter {
 public:
  // The running program reads in and writes out (the console by default).
  explicit Interpreter(std::istream& in = std::cin, std::ostream& out = std::cout);

  // load, then writeDebugReport, then execute, with no test between.
  void run(const std::string& path);
  void load(const std::string& path);
  // Fills the tables from the bytes of a bytecode file. A missing "var{" or
  // "code{", or a missing "}" after one, gives an empty section; a variable
  // entry without a colon outside quotes adds nothing.
  void loadText(const std::string& text);
  // Writes debug.html in the current directory, whole or not at all: an
  // earlier report stays as it was when the new one cannot be completed.
  WriteResult writeDebugReport() const;
  void writeDebugReport(std::ostream& report) const;
  // Runs the loaded program from record 0 to the halt record, the end of
  // the table or a position outside it.
  void execute();

  void addVariable(const std::string& name, const std::string& value, int type);
  // The first variable named exactly name, or -1.
  int findVariable(const std::string& name) const;
  // The value of the variable operand names, else operand itself.
  std::string operandText(const std::string& operand) const;
  void clearFlags();
  static std::string expandEscapes(const std::string& text);

  std::vector<VariableRecord> variables;
  CodeTable code;
  ValueStack stack;
  CompareFlags flags;

 private:
  std::istream& in_;
  std::ostream& out_;
};
