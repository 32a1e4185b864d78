// Interpreter::loadText: cuts a bytecode file into the variable table and
// the code table. Every search skips double-quoted stretches, so values and
// operands may hold the structural bytes between quotes.
#include <string>

#include "file_text.h"
#include "interpreter.h"
#include "text_routines.h"
#include "token_list.h"

namespace {

int findOutsideQuotes(int start, const std::string& text, const char* pattern) {
  return textFindOutsideQuotes(start, text.c_str(), pattern);
}

// The text between the first opening marker and the first "}" after it;
// empty when either is missing.
std::string section(const std::string& text, const char* opening, int openingLength) {
  int begin = findOutsideQuotes(0, text, opening);
  if (begin < 0) return std::string();
  int end = findOutsideQuotes(begin + 1, text, "}");
  if (end < 0) return std::string();
  return substring(text, begin + openingLength, end);
}

}  // namespace

void Interpreter::loadText(const std::string& text) {
  // entry = name marker ":" value, markers taken in the order "$", "&", "#"
  TokenList variableEntries;
  variableEntries.split(section(text, "var{", 4).c_str(), ',');
  for (int i = 0; i < variableEntries.count(); ++i) {
    std::string entry = variableEntries.at(i);
    int colon = findOutsideQuotes(0, entry, ":");
    if (colon < 0) continue;
    std::string name = leftPart(entry, colon);
    std::string value = rightPart(entry, colon + 1);
    const char* const markers[] = {"$", "&", "#"};
    for (int type = 0; type < 3; ++type) {
      int marker = findOutsideQuotes(0, name, markers[type]);
      if (marker < 0) continue;
      name = leftPart(name, marker);
      addVariable(name, value, type);
    }
  }

  // entry = name "@" ... | opcode "!" operand1 ":" operand2
  TokenList codeEntries;
  codeEntries.split(section(text, "code{", 5).c_str(), ',');
  for (int i = 0; i < codeEntries.count(); ++i) {
    std::string entry = codeEntries.at(i);
    int at = findOutsideQuotes(0, entry, "@");
    if (at >= 0) {
      // No label pass follows a label entry.
      code.add("-1", "0", "0", leftPart(entry, at));
      continue;
    }
    int bang = findOutsideQuotes(0, entry, "!");
    int colon = bang < 0 ? -1 : findOutsideQuotes(bang + 1, entry, ":");
    if (colon >= 0) {
      code.add(leftPart(entry, bang), substring(entry, bang + 1, colon),
               rightPart(entry, colon + 1), "");
    }
    code.resolveLabels();
  }
}
