// The checks of the var block: why the front end rejected a line, and the
// declarations it accepts that do not declare what they seem to.
#include <unordered_map>
#include <unordered_set>

#include "checks.h"
#include "quote_search.h"

namespace {

bool isDeclarationKeyword(const std::string& word) {
  return word == "var&" || word == "var$" || word == "var#";
}

// Where a declaration message points, from the start of its line.
struct LineFault {
  std::size_t offset = 0;
  std::size_t length = 1;
  std::string message;
};

// Why the parser rejected piece, in words; rejects is the front end's
// message, quoted.
LineFault explainRejection(const std::string& piece, bool hadComment, bool endsBlock,
                           const std::string& rejects) {
  std::string line = piece;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::string rejected = "tarnel rejects the line with " + rejects;
  std::size_t firstVisible = line.find_first_not_of(" \t");
  if (firstVisible == std::string::npos) {
    if (endsBlock) {
      return {0, line.size(),
              "the blanks before the var block's \"}\" are read as a declaration, and " + rejected +
                  "; start the \"}\" in the first column"};
    }
    return {
        0, line.size(),
        "this line of blanks is read as a declaration, and " + rejected + "; leave the line empty"};
  }
  if (firstVisible > 0) {
    return {0, firstVisible,
            "declarations start in the first column: " + rejected + "; remove the " +
                (line.find('\t') < firstVisible ? "indentation" : "blanks") + " before it"};
  }
  std::size_t space = line.find(' ');
  std::string first = line.substr(0, space);
  std::size_t tab = first.find('\t');
  if (tab != std::string::npos) {
    return {
        tab, 1,
        "a tab does not separate words here: " + rejected + "; put one blank between the words"};
  }
  if (first == "var" && trimmed(line.substr(space + 1)) == "{") {
    return {0, line.size(),
            "this \"var {\" stands inside the var block that tarnel took from an earlier "
            "\"{\", so it is read as a declaration: " +
                rejected};
  }
  if (!isDeclarationKeyword(first)) {
    std::string message =
        first == "var" ? "\"var\" needs its type mark: " + rejected +
                             "; write var& for an integer, var# for a float or var$ for a string"
                       : quoted(first) + " is not a declaration: " + rejected +
                             "; declare with var& (an integer), var# (a float) or var$ (a string)";
    return {0, first.size(), message};
  }
  if (space == std::string::npos) {
    return {
        0, first.size(),
        "the declaration names no variable: " + rejected + "; write " + quoted(first + " name")};
  }
  std::size_t lastVisible = line.find_last_not_of(' ');
  if (lastVisible + 1 < line.size()) {
    std::size_t blanks = line.size() - lastVisible - 1;
    if (hadComment) {
      return {lastVisible + 1, blanks,
              "the blank before the comment stays at the end of the declaration, and " + rejected +
                  "; put the comment on a line of its own"};
    }
    return {lastVisible + 1, blanks,
            "a blank at the end of the line: " + rejected + "; remove the blank"};
  }
  std::size_t doubled = line.find("  ");
  if (doubled != std::string::npos && doubled < line.find('"')) {
    return {doubled, 2, "two blanks in a row: " + rejected + "; put one blank between the words"};
  }
  std::vector<std::string> words = splitOutsideQuotes(line, ' ');
  std::size_t thirdAt = first.size() + 1 + (words.size() > 1 ? words[1].size() + 1 : 0);
  if (words.size() > 4 && words[2] == ":=") {
    std::size_t valueAt = thirdAt + 3;
    return {valueAt, line.size() - valueAt,
            "the value holds a blank: " + rejected + "; write a text value between double quotes"};
  }
  if (words.size() >= 3 && words[2] != ":=") {
    return {thirdAt, words[2].size(),
            quoted(words[2]) + " stands where \":=\" belongs: " + rejected + "; write " +
                quoted(first + " " + words[1] + " := value")};
  }
  return {0, line.size(),
          "a declaration is \"var& name\" or \"var& name := value\", with one blank between "
          "the words: " +
              rejected};
}

void checkRejectedLines(CheckContext& context) {
  for (const ReportedError& error : context.frontEndErrors()) {
    if (error.position.line == 0) continue;
    std::string piece = context.lineFrom(error.position, context.assembler().variables.close);
    bool hadComment = context.writtenLine(error.position.line).find(';') != std::string::npos;
    std::size_t end = context.offsetOf(error.position) + piece.size();
    bool endsBlock = static_cast<long>(end) == context.assembler().variables.close;
    LineFault fault = explainRejection(piece, hadComment, endsBlock, quoted(error.text));
    context.add(Severity::Error, shifted(error.position, static_cast<int>(fault.offset)),
                static_cast<int>(fault.length), fault.message);
  }
}

// The name of a declaration stands after its keyword and one blank.
SourcePosition namePosition(const VariableSlot& slot) { return shifted(slot.position, 5); }

void checkGluedAssignment(CheckContext& context, const VariableSlot& slot) {
  std::size_t glued = slot.name.find(":=");
  if (glued == std::string::npos) return;
  std::string keyword = part(context.normalisedLine(slot.position.line),
                             static_cast<std::size_t>(slot.position.column - 1), 4);
  std::string meant =
      keyword + " " + slot.name.substr(0, glued) + " := " + slot.name.substr(glued + 2);
  context.add(Severity::Warning, namePosition(slot), widthOf(slot.name),
              "\":=\" needs a blank on each side: tarnel declares a variable named " +
                  quoted(slot.name) + " with the default value, and " +
                  quoted(slot.name.substr(0, glued)) + " stays undeclared; write " + quoted(meant));
}

}  // namespace

void checkDeclarations(CheckContext& context) {
  checkRejectedLines(context);
  std::unordered_map<std::string, const VariableSlot*> first;
  for (const VariableSlot& slot : context.assembler().tables.variables()) {
    if (!slot.inUse) continue;
    checkGluedAssignment(context, slot);
    auto earlier = first.emplace(slot.name, &slot);
    if (earlier.second) continue;
    const VariableSlot& original = *earlier.first->second;
    Diagnostic& diagnostic = context.add(
        Severity::Warning, namePosition(slot), widthOf(slot.name),
        quoted(slot.name) + " is already declared on line " +
            std::to_string(original.position.line) +
            ": every instruction finds the first declaration, so this one is never used; "
            "remove it or choose another name");
    context.attach(diagnostic, namePosition(original), widthOf(original.name),
                   "the first declaration of " + quoted(slot.name));
    const VariableSlot* perlSlot = context.perlVariable(slot.name);
    if (perlSlot != nullptr && original.value != slot.value) {
      context.attach(diagnostic, namePosition(slot), widthOf(slot.name),
                     "for tarnel_perl: the script runs both declarations, so there " +
                         quoted(slot.name) + " starts with the value of this one");
    }
  }
}

void checkUnusedVariables(CheckContext& context) {
  if (context.assembler().stop != SourceStop::None) return;
  std::unordered_set<std::string> used(context.meantUses().begin(), context.meantUses().end());
  for (const StatementSlot& slot : context.assembler().tables.statements()) {
    if (!slot.inUse || slot.isLabel) continue;
    used.insert(slot.operand1);
    used.insert(slot.operand2);
  }
  std::unordered_set<std::string> reported;
  for (const VariableSlot& slot : context.assembler().tables.variables()) {
    if (!slot.inUse || used.count(slot.name) != 0) continue;
    if (!reported.insert(slot.name).second) continue;  // a second declaration is reported apart
    if (slot.name.find(":=") != std::string::npos) continue;  // reported with its ":="
    context.add(Severity::Warning, namePosition(slot), widthOf(slot.name),
                quoted(slot.name) +
                    " is declared but no instruction uses it; remove the declaration or use "
                    "the variable");
  }
}
