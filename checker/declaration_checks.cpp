// The checks of the var block: why the front end rejected a line, and the
// declarations it accepts that do not declare what they seem to.
#include <unordered_map>
#include <unordered_set>

#include "checks.h"
#include "declarations.h"
#include "front_end.h"
#include "quote_search.h"

namespace {

bool isDeclarationKeyword(const std::string& word) {
  return word == "var&" || word == "var$" || word == "var#";
}

// A change to a declaration line, from the start of the line.
struct LineEdit {
  std::size_t offset = 0;
  std::size_t length = 0;
  std::string replacement;
};

// Where a declaration message points, from the start of its line, and the
// line's repair when it has one.
struct LineFault {
  std::size_t offset = 0;
  std::size_t length = 1;
  std::string message;
  std::string fix;  // the repair's description; none when empty
  bool safe = true;
  std::vector<LineEdit> edits;
};

LineFault fault(std::size_t offset, std::size_t length, std::string message) {
  LineFault result;
  result.offset = offset;
  result.length = length;
  result.message = std::move(message);
  return result;
}

LineFault withFix(LineFault fault, std::string fix, std::vector<LineEdit> edits, bool safe = true) {
  fault.fix = std::move(fix);
  fault.edits = std::move(edits);
  fault.safe = safe;
  return fault;
}

// The names of a line such as "a, b,c" (after the keyword): each a word of
// its own between commas; none when the text is no such list.
std::vector<std::string> nameList(const std::string& text) {
  if (text.find(',') == std::string::npos || text.find_first_of("\":=;") != std::string::npos) {
    return {};
  }
  std::vector<std::string> names;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = text.find(',', start);
    std::string name =
        trimmed(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (name.empty() || name.find_first_of(" \t") != std::string::npos) return {};
    names.push_back(name);
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

// One declaration a line for the names of list, each with keyword.
std::string oneALine(const std::string& keyword, const std::vector<std::string>& names) {
  std::string lines;
  for (const std::string& name : names) lines += (lines.empty() ? "" : "\n") + keyword + " " + name;
  return lines;
}

// Why the parser rejected piece, in words; rejects is the front end's
// message, quoted. written is the line as written, its comment included.
LineFault explainRejection(const std::string& piece, const std::string& written, bool hadComment,
                           bool endsBlock, const std::string& rejects) {
  std::string line = piece;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::string rejected = "tarnel rejects the line with " + rejects;
  std::size_t firstVisible = line.find_first_not_of(" \t");
  if (firstVisible == std::string::npos) {
    if (endsBlock) {
      return withFix(
          fault(0, line.size(),
                "the blanks before the var block's \"}\" are read as a declaration, and " +
                    rejected + "; start the \"}\" in the first column"),
          "start the \"}\" in the first column", {{0, line.size(), ""}});
    }
    return withFix(fault(0, line.size(),
                         "this line of blanks is read as a declaration, and " + rejected +
                             "; leave the line empty"),
                   "leave the line empty", {{0, line.size(), ""}});
  }
  if (firstVisible > 0) {
    const char* what = line.find('\t') < firstVisible ? "indentation" : "blanks";
    return withFix(fault(0, firstVisible,
                         "declarations start in the first column: " + rejected + "; remove the " +
                             what + " before it"),
                   std::string("remove the ") + what + " before the declaration",
                   {{0, firstVisible, ""}});
  }
  std::size_t space = line.find(' ');
  std::string first = line.substr(0, space);
  std::size_t tab = first.find('\t');
  if (tab != std::string::npos) {
    std::size_t after = line.find_first_not_of(" \t", tab);
    LineFault found = fault(
        tab, 1,
        "a tab does not separate words here: " + rejected + "; put one blank between the words");
    if (after == std::string::npos) return found;
    return withFix(found, "put a blank in place of the tab", {{tab, after - tab, " "}});
  }
  if (first == "var" && trimmed(line.substr(space + 1)) == "{") {
    return fault(0, line.size(),
                 "this \"var {\" stands inside the var block that tarnel took from an earlier "
                 "\"{\", so it is read as a declaration: " +
                     rejected);
  }
  if (!isDeclarationKeyword(first)) {
    std::string message =
        first == "var" ? "\"var\" needs its type mark: " + rejected +
                             "; write var& for an integer, var# for a float or var$ for a string"
                       : quoted(first) + " is not a declaration: " + rejected +
                             "; declare with var& (an integer), var# (a float) or var$ (a string)";
    return fault(0, first.size(), message);
  }
  if (space == std::string::npos) {
    return fault(
        0, first.size(),
        "the declaration names no variable: " + rejected + "; write " + quoted(first + " name"));
  }
  std::vector<std::string> names = nameList(line.substr(space + 1));
  if (names.size() > 1) {
    return withFix(
        fault(space + 1, line.size() - space - 1,
              "one line declares one variable: " + rejected + "; write " +
                  quoted(first + " " + names[0]) + " and each other name on a line of its own"),
        "declare each variable on a line of its own", {{0, line.size(), oneALine(first, names)}});
  }
  std::size_t lastVisible = line.find_last_not_of(' ');
  if (lastVisible + 1 < line.size()) {
    std::size_t blanks = line.size() - lastVisible - 1;
    if (hadComment) {
      // The comment goes above the declaration, on a line of its own, so
      // that nothing follows the declaration.
      std::size_t semicolon = written.find(';', lastVisible + 1);
      LineFault found =
          fault(lastVisible + 1, blanks,
                "the blank before the comment stays at the end of the declaration, and " +
                    rejected + "; put the comment on a line of its own");
      if (semicolon == std::string::npos) return found;
      return withFix(found, "move the comment to a line of its own above",
                     {{0, 0, written.substr(semicolon) + "\n"},
                      {lastVisible + 1, written.size() - lastVisible - 1, ""}});
    }
    return withFix(fault(lastVisible + 1, blanks,
                         "a blank at the end of the line: " + rejected + "; remove the blank"),
                   blanks == 1 ? "remove the blank at the end" : "remove the blanks at the end",
                   {{lastVisible + 1, blanks, ""}});
  }
  std::size_t doubled = line.find("  ");
  std::size_t quote = line.find('"');
  if (doubled != std::string::npos && doubled < quote) {
    std::vector<LineEdit> edits;
    for (std::size_t at = doubled; at != std::string::npos && at < quote;) {
      std::size_t end = line.find_first_not_of(' ', at);
      if (end == std::string::npos) end = line.size();
      edits.push_back({at + 1, end - at - 1, ""});
      at = line.find("  ", end);
    }
    return withFix(
        fault(doubled, 2, "two blanks in a row: " + rejected + "; put one blank between the words"),
        "put one blank between the words", edits);
  }
  std::vector<std::string> words = splitOutsideQuotes(line, ' ');
  std::size_t thirdAt = first.size() + 1 + (words.size() > 1 ? words[1].size() + 1 : 0);
  if (words.size() > 4 && words[2] == ":=") {
    std::size_t valueAt = thirdAt + 3;
    LineFault found = fault(
        valueAt, line.size() - valueAt,
        "the value holds a blank: " + rejected + "; write a text value between double quotes");
    if (first != "var$" || line.find('"', valueAt) != std::string::npos) return found;
    return withFix(found, "put the text between double quotes",
                   {{valueAt, 0, "\""}, {line.size(), 0, "\""}}, false);
  }
  if (words.size() == 4 && words[2] == "=") {
    return withFix(fault(thirdAt, 1,
                         "\"=\" stands where \":=\" belongs: " + rejected + "; write " +
                             quoted(first + " " + words[1] + " := " + words[3])),
                   "write \":=\"", {{thirdAt, 1, ":="}});
  }
  if (words.size() >= 3 && words[2] != ":=") {
    return fault(thirdAt, words[2].size(),
                 quoted(words[2]) + " stands where \":=\" belongs: " + rejected + "; write " +
                     quoted(first + " " + words[1] + " := value"));
  }
  return fault(0, line.size(),
               "a declaration is \"var& name\" or \"var& name := value\", with one blank between "
               "the words: " +
                   rejected);
}

// The names a rejected declaration line was meant to declare: the word
// after the keyword (without a ":=" glued to it), or each name of a list.
std::vector<std::string> namesMeant(const std::string& line) {
  std::string text = trimmed(line.substr(0, line.find(';')));
  std::size_t keywordEnd = text.find_first_of(" \t");
  if (keywordEnd == std::string::npos) return {};
  std::string rest = trimmed(text.substr(keywordEnd));
  std::vector<std::string> names = nameList(rest);
  if (!names.empty()) return names;
  std::string name = rest.substr(0, rest.find_first_of(" \t"));
  name = name.substr(0, name.find(":="));
  if (name.empty() || name.find_first_of("\"=,") != std::string::npos) return {};
  return {name};
}

// True when tarnel's own parser accepts every line of lines (a "\n" between
// two of them, comments allowed) as a declaration: a fix made on a rejected
// line must leave it declaring what it names.
bool parsesAsDeclarations(const std::string& lines) {
  std::string block = "\n";
  bool comment = false;
  for (char c : lines) {
    if (c == ';') comment = true;
    if (c == '\n') {
      comment = false;
      block += "\r";
    }
    if (!comment) block += c;
  }
  block += "\r\n";
  ProgramTables tables;
  ErrorCapture capture;
  parseDeclarations(block, tables);
  return capture.errors().empty();
}

// The line as fault's edits leave it.
std::string fixedLine(const std::string& line, const LineFault& fault) {
  std::string fixed = line;
  for (auto edit = fault.edits.rbegin(); edit != fault.edits.rend(); ++edit) {
    if (edit->offset > fixed.size()) return line;
    fixed.replace(edit->offset, edit->length, edit->replacement);
  }
  return fixed;
}

void checkRejectedLines(CheckContext& context) {
  for (const ReportedError& error : context.frontEndErrors()) {
    if (error.position.line == 0) continue;
    std::string piece = context.lineFrom(error.position, context.assembler().variables.close);
    bool hadComment = context.writtenLine(error.position.line).find(';') != std::string::npos;
    std::size_t end = context.offsetOf(error.position) + piece.size();
    bool endsBlock = static_cast<long>(end) == context.assembler().variables.close;
    const std::string& written = context.writtenLine(error.position.line);
    std::string writtenPiece = part(written, static_cast<std::size_t>(error.position.column - 1));
    for (const std::string& name : namesMeant(piece)) {
      context.markRejectedName(name, error.position.line);
    }
    LineFault fault =
        explainRejection(piece, writtenPiece, hadComment, endsBlock, quoted(error.text));
    Diagnostic& diagnostic =
        context.add(Severity::Error, shifted(error.position, static_cast<int>(fault.offset)),
                    static_cast<int>(fault.length), fault.message);
    if (fault.fix.empty()) continue;
    // A line that keeps a fault after the fix is left to the writer, as is
    // one of blanks, which becomes empty.
    bool empties = trimmed(writtenPiece).empty();
    if (fault.safe && !empties && !parsesAsDeclarations(fixedLine(writtenPiece, fault))) continue;
    FixIt& fix = CheckContext::offerFix(diagnostic, fault.fix, fault.safe);
    for (const LineEdit& edit : fault.edits) {
      CheckContext::edit(fix, shifted(error.position, static_cast<int>(edit.offset)),
                         static_cast<int>(edit.length), edit.replacement);
    }
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
  Diagnostic& diagnostic = context.add(
      Severity::Warning, namePosition(slot), widthOf(slot.name),
      "\":=\" needs a blank on each side: tarnel declares a variable named " + quoted(slot.name) +
          " with the default value, and " + quoted(slot.name.substr(0, glued)) +
          " stays undeclared; write " + quoted(meant));
  std::string name = slot.name.substr(0, glued);
  std::string value = slot.name.substr(glued + 2);
  if (!name.empty() && !value.empty() && value.find(":=") == std::string::npos) {
    CheckContext::edit(
        CheckContext::offerFix(diagnostic, "put a blank on each side of \":=\"", true),
        namePosition(slot), widthOf(slot.name), name + " := " + value);
  }
}

// A name with commas, as "var& a,b,c" declares: one variable of that name,
// which no operand can name (a comma ends it).
void checkNameList(CheckContext& context, const VariableSlot& slot) {
  std::vector<std::string> names = nameList(slot.name);
  if (names.size() < 2 || slot.value != (slot.type == VariableString ? "" : "0")) return;
  std::string keyword = part(context.normalisedLine(slot.position.line),
                             static_cast<std::size_t>(slot.position.column - 1), 4);
  Diagnostic& diagnostic = context.add(
      Severity::Warning, namePosition(slot), widthOf(slot.name),
      "tarnel declares one variable named " + quoted(slot.name) + ", and " + quoted(names[0]) +
          " stays undeclared: one line declares one variable; write " +
          quoted(keyword + " " + names[0]) + " and each other name on a line of its own");
  CheckContext::edit(
      CheckContext::offerFix(diagnostic, "declare each variable on a line of its own", true),
      slot.position, 5 + widthOf(slot.name), oneALine(keyword, names));
}

}  // namespace

void checkDeclarations(CheckContext& context) {
  checkRejectedLines(context);
  std::unordered_map<std::string, const VariableSlot*> first;
  for (const VariableSlot& slot : context.assembler().tables.variables()) {
    if (!slot.inUse) continue;
    checkGluedAssignment(context, slot);
    checkNameList(context, slot);
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
  std::unordered_set<std::string> reported;
  for (const VariableSlot& slot : context.assembler().tables.variables()) {
    if (!slot.inUse || context.isUsed(slot.name)) continue;
    if (!reported.insert(slot.name).second) continue;  // a second declaration is reported apart
    if (slot.name.find(":=") != std::string::npos) continue;  // reported with its ":="
    if (nameList(slot.name).size() > 1) continue;             // reported as a list
    context.add(Severity::Warning, namePosition(slot), widthOf(slot.name),
                quoted(slot.name) +
                    " is declared but no instruction uses it; remove the declaration or use "
                    "the variable");
  }
}
