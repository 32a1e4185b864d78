// Statement parsing; see statements.h.
#include "statements.h"

#include <vector>

#include "line_text.h"
#include "quote_search.h"

namespace {

// The bytes of line from start up to, not including, stop; empty when the
// range holds none.
std::string slice(const std::string& line, long start, long stop) {
  long size = static_cast<long>(line.size());
  if (start < 0) start = 0;
  if (stop > size) stop = size;
  if (stop <= start) return std::string();
  return line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(stop - start));
}

void parseStatement(std::string line, bool collapseSpacing, ProgramTables& tables) {
  if (findUnquotedAfter(-1, line, ":") != -1) {
    stripLineBreaks(line);
    tables.addLabel(line);
    return;
  }
  long first = firstNonSpace(line);
  long space = findUnquotedAfter(first, line, " ");
  if (space == -1) {
    std::string word;
    for (char c : line) {
      if (c != ' ') word += c;
    }
    tables.addInstruction(word, "", "");
    return;
  }
  std::string mnemonic = slice(line, first, space);
  long end = static_cast<long>(line.size()) - 1;
  long comma = findUnquotedAfter(space, line, ",");
  if (comma == -1) {
    tables.addInstruction(mnemonic, slice(line, space + 1, end), "");
    return;
  }
  std::string operand1 = slice(line, space + 1, comma);
  std::string operand2 = slice(line, comma + 1, end);
  if (collapseSpacing) {
    stripUnquotedSpaces(operand1);
    stripUnquotedSpaces(operand2);
  }
  tables.addInstruction(mnemonic, operand1, operand2);
}

}  // namespace

void parseStatements(const std::string& block, bool collapseSpacing, ProgramTables& tables) {
  std::string text = block;
  if (collapseSpacing) collapseSpaces(text);
  std::vector<std::string> lines = splitOutsideQuotes(text, '\n');
  tables.reserveStatements(static_cast<int>(lines.size()));
  for (std::string& line : lines) {
    if (line.size() <= 3 || firstNonSpace(line) == -1) continue;
    parseStatement(std::move(line), collapseSpacing, tables);
  }
}
