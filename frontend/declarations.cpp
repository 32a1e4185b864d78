// Declaration parsing; see declarations.h.
#include "declarations.h"

#include <vector>

#include "front_end.h"
#include "line_text.h"
#include "quote_search.h"

namespace {

struct DeclarationKeyword {
  const char* text;
  VariableType type;
  const char* defaultValue;
};

const DeclarationKeyword kKeywords[] = {
    {"var&", VariableInteger, "0"},
    {"var$", VariableString, ""},
    {"var#", VariableFloat, "0"},
};

const DeclarationKeyword* findKeyword(const std::string& word) {
  for (const DeclarationKeyword& keyword : kKeywords) {
    if (word == keyword.text) return &keyword;
  }
  return nullptr;
}

// One declaration line into tables; false when the line is malformed.
bool parseDeclaration(const std::string& line, SourcePosition position, ProgramTables& tables) {
  std::vector<std::string> words = splitOutsideQuotes(line, ' ');
  if (words.size() < 2) return false;
  const DeclarationKeyword* keyword = findKeyword(words[0]);
  if (keyword == nullptr) return false;
  std::string name = words[1];
  std::string value = keyword->defaultValue;
  if (words.size() == 4 && words[2] == ":=") {
    value = words[3];
  } else if (words.size() != 2) {
    return false;
  }
  stripLineBreaks(name);
  stripLineBreaks(value);
  tables.addVariable(name, value, keyword->type, position);
  return true;
}

}  // namespace

void parseDeclarations(const std::string& block, ProgramTables& tables, SourcePosition blockStart) {
  std::vector<std::string> lines = splitOutsideQuotes(block, '\n');
  tables.reserveVariables(static_cast<int>(lines.size()));
  PiecePlaces places(blockStart);
  for (const std::string& line : lines) {
    places.enter(line);
    SourcePosition position = places.at(0);
    if (line.size() <= 3) continue;
    if (!parseDeclaration(line, position, tables)) {
      reportErrorAt(position, "invalid variable decleration");
    }
  }
}
