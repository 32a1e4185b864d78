// The checks of the begin block as tarnel assembles it and kivinterp runs
// it: unknown mnemonics, statements that lose their last character, label
// lines with more on them, jumps that find no label, operands that name no
// variable or come in the wrong number.
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "checks.h"
#include "escapes.h"
#include "mnemonics.h"
#include "opcodes.h"
#include "statements.h"

namespace {

// What kivinterp does with the first operand of each mnemonic. This table
// runs parallel to the mnemonic table of frontend/mnemonics.h: keep the two
// in step (a mnemonic missing here has no first-operand check).
enum class FirstOperand {
  SilentDestination,    // names no variable: the instruction does nothing
  ReportedDestination,  // names no variable: an error line at every run
  Source,               // a variable's value, or else the text itself
  Target,               // a label
};

const std::map<std::string, FirstOperand> kFirstOperands = {
    {"mov", FirstOperand::SilentDestination},
    {"add", FirstOperand::SilentDestination},
    {"sub", FirstOperand::SilentDestination},
    {"mul", FirstOperand::SilentDestination},
    {"div", FirstOperand::SilentDestination},
    {"and", FirstOperand::SilentDestination},
    {"or", FirstOperand::SilentDestination},
    {"xor", FirstOperand::SilentDestination},
    {"inc", FirstOperand::ReportedDestination},
    {"dec", FirstOperand::ReportedDestination},
    {"not", FirstOperand::ReportedDestination},
    {"input", FirstOperand::ReportedDestination},
    {"pop", FirstOperand::ReportedDestination},
    {"cmp", FirstOperand::ReportedDestination},
    {"print", FirstOperand::Source},
    {"push", FirstOperand::Source},
    {"jmp", FirstOperand::Target},
    {"jne", FirstOperand::Target},
    {"je", FirstOperand::Target},
    {"jge", FirstOperand::Target},
    {"jg", FirstOperand::Target},
    {"jl", FirstOperand::Target},
    {"jle", FirstOperand::Target},
};

// The mnemonics whose Perl fragment depends on the type of the first
// operand's variable: tarnel_perl reports a name that is no variable.
bool perlNeedsVariable(const std::string& mnemonic) {
  return mnemonic == "add" || mnemonic == "sub" || mnemonic == "mul" || mnemonic == "div" ||
         mnemonic == "and" || mnemonic == "or" || mnemonic == "xor" || mnemonic == "not";
}

bool known(SourceSpan span) { return span.begin.line != 0; }

// A letter or "_", then letters, digits and "_": what a writer means as a
// variable's name, never a number or a text.
bool isNameLike(const std::string& word) {
  if (word.empty() || !((word[0] >= 'a' && word[0] <= 'z') || word[0] == '_')) return false;
  for (char c : word) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

// The number of single-byte insertions, removals and replacements that
// turn a into b, or limit when it is limit or more.
int editDistance(const std::string& a, const std::string& b, int limit) {
  if (std::abs(static_cast<int>(a.size()) - static_cast<int>(b.size())) >= limit) return limit;
  std::vector<int> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      int above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return std::min(row[b.size()], limit);
}

// A label kept for the checks across the whole block.
struct LabelRecord {
  std::string labelText;
  SourcePosition position;
};

// The name a label line gives kivinterp: tarnel writes "@" for its first
// colon, and the loader takes what stands before.
std::string labelName(const LabelRecord& label) {
  return label.labelText.substr(0, label.labelText.find(':'));
}
// The text tarnel assembles for an instruction slot, as a reader would
// write it.
std::string assembledText(const StatementSlot& slot) {
  std::string text = slot.mnemonic;
  if (!slot.operand1.empty() || known(slot.operand2Field)) text += " " + slot.operand1;
  if (known(slot.operand2Field)) text += "," + slot.operand2;
  return text;
}

}  // namespace

class StatementChecks::Checker {
 public:
  explicit Checker(CheckContext& context)
      : context_(context), read_(static_cast<std::size_t>(context.lineCount()) + 2, false) {}

  // The statements of one part of the code block, as tarnel and as
  // tarnel_perl parse them. Jumps wait for finish, when every label is
  // known.
  void visit(const ProgramTables& tarnel, const ProgramTables& perl) {
    perlSlots_.fill(perl);
    for (const StatementSlot& slot : tarnel.statements()) {
      if (!slot.inUse) continue;
      if (slot.position.line >= 0 && static_cast<std::size_t>(slot.position.line) < read_.size()) {
        read_[static_cast<std::size_t>(slot.position.line)] = true;
      }
      if (slot.isLabel) {
        labelSlots_.push_back(LabelRecord{slot.labelText, slot.position});
        const LabelRecord& kept = labelSlots_.back();
        std::string name = labelName(kept);
        // A second label of a name, and a label "stop", matter once a jump
        // reaches them: checkLabelsJumpedTo looks at these alone.
        if (!labels_.emplace(name, &kept).second || name == "stop") {
          watchedLabels_.push_back(&kept);
          watchedNames_.insert(name);
        }
        if (name != trimmed(name)) indentedLabels_.emplace(trimmed(name), &kept);
        checkLabelLine(slot);
      } else {
        context_.markUse(slot.operand1);
        context_.markUse(slot.operand2);
        checkInstruction(slot);
      }
    }
  }

  void finish() {
    for (const StatementSlot& jump : jumpSlots_) {
      if (reportTrailingBlank(jump, FirstOperand::Target)) continue;
      checkJump(jump);
    }
    checkLabelsJumpedTo();
    checkSkippedLines();
  }

 private:
  // The place and width of an operand as written, its outer blanks left
  // out; the mnemonic's when the line holds no such operand.
  std::pair<SourcePosition, int> operandPlace(const StatementSlot& slot, SourceSpan field) const {
    if (!known(field) || field.begin.line != field.end.line) {
      return {slot.position, widthOf(slot.mnemonic)};
    }
    const std::string& line = context_.writtenLine(field.begin.line);
    std::size_t begin = static_cast<std::size_t>(field.begin.column - 1);
    std::size_t end = std::min(line.size(), static_cast<std::size_t>(field.end.column - 1));
    if (begin >= end) return {field.begin, 1};
    std::string text = line.substr(begin, end - begin);
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {field.begin, widthOf(text)};
    std::size_t last = text.find_last_not_of(" \t");
    return {shifted(field.begin, static_cast<int>(first)), static_cast<int>(last - first + 1)};
  }

  Diagnostic& warnAtOperand(const StatementSlot& slot, SourceSpan field, std::string message) {
    std::pair<SourcePosition, int> place = operandPlace(slot, field);
    return context_.add(Severity::Warning, place.first, place.second, std::move(message));
  }

  const StatementSlot* perlSlot(const StatementSlot& slot) const {
    return perlSlots_.at(slot.position.line);
  }

  // The operands of text parsed as a statement line of its own, with the
  // real parser, as uses meant by the writer.
  void markMeantUses(std::string text) {
    if (text.empty() || text.back() != '\r') text += '\r';
    ProgramTables tables;
    parseStatements("\n" + text + "\n", true, tables);
    for (const StatementSlot& slot : tables.statements()) {
      if (!slot.inUse || slot.isLabel) continue;
      context_.markUse(slot.operand1);
      context_.markUse(slot.operand2);
    }
  }

  void checkLabelLine(const StatementSlot& slot) {
    std::string line = context_.lineFrom(slot.position, context_.assembler().code.close);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) return;
    std::string name = trimmed(line.substr(0, colon));
    if (name.find_first_of(" ,\"") != std::string::npos) {
      context_.add(Severity::Warning, slot.position, widthOf(trimmed(line)),
                   "this line holds a \":\" outside double quotes, so tarnel reads all of it as "
                   "a label and never assembles it; put the text with the \":\" between double "
                   "quotes");
      return;
    }
    std::string rest = line.substr(colon + 1);
    std::size_t first = rest.find_first_not_of(" \t");
    if (first == std::string::npos) return;
    std::string ignored = trimmed(rest);
    Diagnostic& diagnostic =
        context_.add(Severity::Warning, shifted(slot.position, static_cast<int>(colon + 1 + first)),
                     widthOf(ignored),
                     "tarnel ignores the text after " + quoted(name + ":") + ", so " +
                         quoted(ignored) + " is never assembled; put it on a line of its own");
    // An instruction with its operand moves to the next line, indented; other
    // text is left for the writer to judge.
    std::size_t blank = ignored.find(' ');
    if (blank != std::string::npos && mnemonicNamed(ignored.substr(0, blank)) != nullptr) {
      CheckContext::edit(CheckContext::offerFix(
                             diagnostic, "put " + quoted(ignored) + " on a line of its own", true),
                         shifted(slot.position, static_cast<int>(colon + 1)),
                         static_cast<int>(first), "\n    ");
    }
    markMeantUses(rest);
  }

  void checkInstruction(const StatementSlot& slot) {
    const Mnemonic* mnemonic = mnemonicNamed(slot.mnemonic);
    if (mnemonic == nullptr) {
      reportUnknownMnemonic(slot);
      return;
    }
    if (reportLostCharacter(slot)) return;
    if (!checkOperandCount(slot, *mnemonic)) return;
    auto role = kFirstOperands.find(slot.mnemonic);
    if (role == kFirstOperands.end()) return;
    if (role->second == FirstOperand::Target) {
      jumpSlots_.push_back(slot);  // checked in finish, against every label
      return;
    }
    if (reportTrailingBlank(slot, role->second)) return;
    switch (role->second) {
      case FirstOperand::SilentDestination:
      case FirstOperand::ReportedDestination:
        checkDestination(slot, role->second);
        if (mnemonic->operandCount == 2) checkSourceName(slot, slot.operand2, slot.operand2Field);
        break;
      case FirstOperand::Target:
        checkJump(slot);
        break;
      case FirstOperand::Source:
        checkSourceName(slot, slot.operand1, slot.operand1Field);
        break;
    }
  }

  void reportUnknownMnemonic(const StatementSlot& slot) {
    // The mnemonic as tarnel prints it, less the line's own CR.
    std::string word = slot.mnemonic;
    if (!word.empty() && word.back() == '\r') word.pop_back();
    const char* leftOut = "tarnel reports it as an invalid instruction and leaves the line out";
    std::string message;
    std::size_t tab = word.find('\t');
    const std::string& written = context_.writtenLine(slot.position.line);
    if (tab == 0) {
      message = std::string("a tab before the instruction becomes part of its name: ") + leftOut +
                "; indent with blanks only";
      Diagnostic& diagnostic = context_.add(Severity::Error, slot.position, widthOf(word), message);
      std::size_t indentation = written.find_first_not_of(" \t");
      if (indentation != std::string::npos) {
        FixIt& fix = CheckContext::offerFix(diagnostic, "indent with four blanks", true);
        CheckContext::edit(fix, SourcePosition{slot.position.line, 1},
                           static_cast<int>(indentation), "    ");
      }
      return;
    }
    if (tab != std::string::npos) {
      message = "a tab after " + quoted(word.substr(0, tab)) +
                " joins it to what follows: " + leftOut + "; separate them with a blank";
      Diagnostic& diagnostic = context_.add(Severity::Error, slot.position, widthOf(word), message);
      std::size_t at = static_cast<std::size_t>(slot.position.column - 1) + tab;
      std::size_t after = written.find_first_not_of(" \t", at);
      if (at < written.size() && written[at] == '\t' && after != std::string::npos) {
        FixIt& fix = CheckContext::offerFix(diagnostic, "put a blank in place of the tab", true);
        CheckContext::edit(fix, SourcePosition{slot.position.line, static_cast<int>(at) + 1},
                           static_cast<int>(after - at), " ");
      }
      return;
    }
    if (!known(slot.operand1Field) && mnemonicNamed(word) != nullptr) {
      message = quoted(word) +
                " needs an operand, and a line of one word is never an "
                "instruction: " +
                leftOut;
    } else {
      message = quoted(word) + " is not one of the 23 instructions: " + leftOut +
                "; man 7 tarnel lists them";
    }
    context_.add(Severity::Error, slot.position, widthOf(word), message);
  }

  // A statement whose line lost its last byte that was more than a CR or a
  // blank: the parser drops a line's last byte, taking it for the CR.
  bool reportLostCharacter(const StatementSlot& slot) {
    if (!known(slot.operand1Field)) return false;
    SourcePosition end =
        known(slot.operand2Field) ? slot.operand2Field.end : slot.operand1Field.end;
    char lost = context_.normalisedByte(end);
    if (lost == '\0' || lost == '\r' || lost == '\n' || lost == ' ' || lost == '\t') return false;

    const std::string& written = context_.writtenLine(end.line);
    std::string statement;
    if (end.line == slot.position.line && end.column >= slot.position.column) {
      statement = part(written, static_cast<std::size_t>(slot.position.column - 1),
                       static_cast<std::size_t>(end.column - slot.position.column + 1));
    }
    std::string reads = slot.operand1.empty() && !known(slot.operand2Field)
                            ? quoted(slot.mnemonic) + " with an empty operand"
                            : quoted(assembledText(slot));
    std::size_t after = static_cast<std::size_t>(end.column);
    SourcePosition next = shifted(end, 1);
    // A text's closing quote taken leaves a quote open that runs on through
    // the rest of the bytecode file, so kivinterp finds no end of the code
    // and runs none of it: that comes first of all the program's problems.
    std::string kept = slot.operand1 + slot.operand2;
    bool losesCode = lost == '"' && std::count(kept.begin(), kept.end(), '"') % 2 == 1;
    std::string takes = losesCode ? " takes its closing double quote with it, and the quote left "
                                    "open hides the end of the program's code: no instruction "
                                    "of this program will run, although tarnel counts no error"
                                  : " takes the statement's last character with it: tarnel "
                                    "reads " +
                                        reads;
    Diagnostic* diagnostic = nullptr;
    if (after < written.size() && written[after] == ';') {
      diagnostic = &context_.add(Severity::Warning, end, 1,
                                 "the comment right after " + quoted(statement) + takes +
                                     "; put a blank before the \";\"");
      CheckContext::edit(CheckContext::offerFix(*diagnostic, "put a blank before the \";\"", true),
                         next, 0, " ");
    } else if (context_.positionOf(context_.assembler().code.close) == next) {
      diagnostic =
          &context_.add(Severity::Warning, end, 1,
                        (losesCode ? "the block's closing \"}\" right after " + quoted(statement)
                                   : std::string("the block's closing \"}\" on this line")) +
                            takes + "; put the \"}\" on a line of its own");
      CheckContext::edit(
          CheckContext::offerFix(*diagnostic, "put the \"}\" on a line of its own", true), next, 0,
          "\n");
    } else {
      diagnostic = &context_.add(Severity::Warning, end, 1,
                                 "the statement's last character is lost: tarnel reads " + reads +
                                     "; end the line after it");
    }
    if (losesCode) context_.markFirst(*diagnostic);
    context_.markCutLine(slot.position.line);
    markMeantUses(context_.lineFrom(slot.position, context_.assembler().code.close));
    return true;
  }

  // False when the operands are so far from the mnemonic's that the other
  // checks would only repeat the fault.
  bool checkOperandCount(const StatementSlot& slot, const Mnemonic& mnemonic) {
    if (mnemonic.operandCount == 1) {
      if (!slot.operand2.empty()) {
        warnAtOperand(slot, slot.operand2Field,
                      slot.mnemonic + " takes one operand: tarnel drops the second one, " +
                          quoted(slot.operand2) + "; remove it");
      }
      return true;
    }
    if (!slot.operand2.empty()) return true;
    if (!known(slot.operand2Field) && slot.operand1.find(' ') != std::string::npos) {
      std::string meant = slot.operand1;
      std::size_t blank = meant.find(' ');
      meant = meant.substr(0, blank) + "," + trimmed(meant.substr(blank));
      warnAtOperand(slot, slot.operand1Field,
                    slot.mnemonic + " takes two operands separated by a comma: tarnel reads " +
                        quoted(slot.operand1) + " as the first and finds no second; write " +
                        quoted(slot.mnemonic + " " + meant));
      return false;
    }
    Diagnostic& diagnostic =
        context_.add(Severity::Warning, slot.position, widthOf(slot.mnemonic),
                     slot.mnemonic +
                         " needs a second operand after a comma: without one, tarnel "
                         "gives it the empty text, which counts as 0; write " +
                         quoted(slot.mnemonic + " " + slot.operand1 + ",value"));
    const StatementSlot* perl = perlSlot(slot);
    if (perl != nullptr && perl->operand2.empty() && perlWritesFragment(*perl)) {
      context_.attach(diagnostic, slot.position, widthOf(slot.mnemonic),
                      "for tarnel_perl: the missing operand leaves the script's Perl "
                      "incomplete, so the script does not run at all");
    }
    return true;
  }

  // True when tarnel_perl writes a fragment for a two-operand slot of its
  // own parse: always for mov and cmp, for the others only on an integer or
  // float variable.
  bool perlWritesFragment(const StatementSlot& slot) const {
    if (slot.mnemonic == "mov" || slot.mnemonic == "cmp") return true;
    const VariableSlot* variable = context_.perlVariable(slot.operand1);
    return variable != nullptr && variable->type != VariableString;
  }

  // A one-operand line whose blank before the CR stays in the operand and
  // so spoils a name that would otherwise be found.
  bool reportTrailingBlank(const StatementSlot& slot, FirstOperand role) {
    if (known(slot.operand2Field) || slot.operand1.empty() || slot.operand1.back() != ' ') {
      return false;
    }
    std::string name = trimmed(slot.operand1);
    std::string effect;
    if (role == FirstOperand::Target) {
      if (labels_.count(name) == 0 && name != "stop") return false;
      effect = "which names no label, so " + unresolvedJump(slot.operand1);
    } else if (!context_.declares(name)) {
      return false;
    } else if (role == FirstOperand::Source) {
      effect = "which names no variable, so kivinterp " +
               std::string(slot.mnemonic == "print" ? "prints" : "pushes") +
               " that text instead of the value of " + quoted(name);
    } else if (role == FirstOperand::ReportedDestination) {
      effect = "which names no variable, so kivinterp reports an error each time this " +
               slot.mnemonic + " runs";
    } else {
      effect = "which names no variable, so this " + slot.mnemonic + " does nothing at all";
    }
    // The blanks as written, before the line end the parser dropped.
    const std::string& written = context_.writtenLine(slot.operand1Field.end.line);
    std::size_t end =
        std::min(written.size(), static_cast<std::size_t>(slot.operand1Field.end.column - 1));
    std::size_t last = written.find_last_not_of(' ', end == 0 ? 0 : end - 1);
    std::size_t blanks = end == 0 ? 0 : end - (last == std::string::npos ? 0 : last + 1);
    SourcePosition at =
        shifted(slot.operand1Field.end, -static_cast<int>(std::max<std::size_t>(blanks, 1)));
    Diagnostic& diagnostic =
        context_.add(Severity::Warning, at, static_cast<int>(blanks),
                     "the blank at the end of the line stays in the operand: tarnel reads " +
                         quoted(slot.operand1) + ", " + effect + "; remove the blank");
    if (blanks > 0) {
      CheckContext::edit(
          CheckContext::offerFix(
              diagnostic,
              blanks == 1 ? "remove the blank at the end" : "remove the blanks at the end", true),
          at, static_cast<int>(blanks), "");
    }
    return true;
  }

  void checkDestination(const StatementSlot& slot, FirstOperand role) {
    const std::string& name = slot.operand1;
    if (context_.declares(name)) {
      checkStringArithmetic(slot);
      return;
    }
    if (reportRejectedName(slot, slot.operand1Field, name)) return;
    std::string message;
    if (name.empty()) {
      message = "this " + slot.mnemonic + " names no variable to work on, so " +
                (role == FirstOperand::SilentDestination
                     ? "it does nothing at all"
                     : "kivinterp reports an error each time it runs");
    } else if (role == FirstOperand::SilentDestination) {
      message = quoted(name) + " names no declared variable, so this " + slot.mnemonic +
                " does nothing at all; declare it in the var block or correct the name";
    } else {
      message =
          quoted(name) +
          " names no declared variable: kivinterp reports an error each "
          "time this " +
          slot.mnemonic + " runs" +
          (slot.mnemonic == "cmp" ? " and leaves the flags as they were" : " and changes nothing") +
          "; declare it in the var block or correct the name";
    }
    Diagnostic& diagnostic = warnAtOperand(slot, slot.operand1Field, message);
    if (isNameLike(name)) offerCloseName(diagnostic, slot, slot.operand1Field, name);
    const StatementSlot* perl = perlSlot(slot);
    if (perl != nullptr && perlNeedsVariable(slot.mnemonic) &&
        context_.perlVariable(perl->operand1) == nullptr) {
      std::pair<SourcePosition, int> place = operandPlace(slot, slot.operand1Field);
      context_.attach(diagnostic, place.first, place.second,
                      "for tarnel_perl: it reports " +
                          quoted("invalid variable " + perl->operand1) +
                          " and leaves the line out");
    }
  }

  // A use of a name whose declaration tarnel rejects: tarnel then writes
  // no bytecode at all, and the line to put right is the declaration.
  bool reportRejectedName(const StatementSlot& slot, SourceSpan field, const std::string& name) {
    int line = context_.rejectedDeclarationLine(name);
    if (line == 0) return false;
    Diagnostic& diagnostic = warnAtOperand(
        slot, field,
        quoted(name) +
            " names no variable, because tarnel rejects its declaration "
            "on line " +
            std::to_string(line) + "; put that line right and this " + slot.mnemonic + " finds it");
    const std::string& written = context_.writtenLine(line);
    std::size_t first = written.find_first_not_of(" \t");
    context_.attach(diagnostic, SourcePosition{line, static_cast<int>(first) + 1},
                    widthOf(trimmed(written)),
                    "the declaration of " + quoted(name) + " that tarnel rejects");
    return true;
  }

  // A source operand that looks like a name but names no variable:
  // kivinterp takes the text itself, which counts as 0 in arithmetic, so the
  // program quietly computes with 0.
  void checkSourceName(const StatementSlot& slot, const std::string& operand, SourceSpan field) {
    if (!isNameLike(operand) || context_.declares(operand)) return;
    if (reportRejectedName(slot, field, operand)) return;
    const std::string& mnemonic = slot.mnemonic;
    std::string text = quoted(operand);
    std::string effect;
    if (mnemonic == "mov") {
      effect = quoted(slot.operand1) + " receives the text " + text;
    } else if (mnemonic == "print") {
      effect = "this print writes " + text;
    } else if (mnemonic == "push") {
      effect = "this push pushes " + text;
    } else if (mnemonic == "cmp") {
      effect = "this cmp compares with 0";
    } else {
      const VariableSlot* destination = context_.variable(slot.operand1);
      if (destination == nullptr) return;  // the destination is reported
      if (destination->type == VariableString) {
        if (mnemonic != "add") return;  // reported as arithmetic on a string
        effect = "this add appends " + text;
      } else if (mnemonic == "add" || mnemonic == "sub") {
        effect = "this " + mnemonic + " counts it as 0 and changes nothing";
      } else if (mnemonic == "mul" || mnemonic == "and") {
        effect = "this " + mnemonic + " counts it as 0 and gives 0";
      } else if (mnemonic == "div") {
        effect =
            "this div divides by 0: kivinterp reports \"division by zero error.. \" and gives 1";
      } else {
        effect = "this " + mnemonic + " counts it as 0 and changes nothing";
      }
    }
    Diagnostic& diagnostic = warnAtOperand(
        slot, field,
        text + " names no declared variable, so kivinterp takes the text itself: " + effect +
            "; declare it in the var block or correct the name");
    offerCloseName(diagnostic, slot, field, operand);
  }

  // A suggestion for a name that is one slip from a declared one: the
  // variable whose name is nearest, when no other is as near.
  void offerCloseName(Diagnostic& diagnostic, const StatementSlot& slot, SourceSpan field,
                      const std::string& name) {
    std::string best;
    int bestDistance = 3;
    bool tie = false;
    for (const VariableSlot& variable : context_.assembler().tables.variables()) {
      if (!variable.inUse || variable.name == name) continue;
      int distance = editDistance(name, variable.name, bestDistance + 1);
      if (distance < bestDistance) {
        best = variable.name;
        bestDistance = distance;
        tie = false;
      } else if (!best.empty() && distance == bestDistance && variable.name != best) {
        tie = true;
      }
    }
    if (best.empty() || tie || bestDistance * 2 > widthOf(name)) return;
    std::pair<SourcePosition, int> place = operandPlace(slot, field);
    CheckContext::edit(CheckContext::offerFix(diagnostic, "write " + quoted(best), false),
                       place.first, place.second, best);
  }

  void checkStringArithmetic(const StatementSlot& slot) {
    if (slot.mnemonic != "sub" && slot.mnemonic != "mul" && slot.mnemonic != "div") return;
    const VariableSlot* variable = context_.variable(slot.operand1);
    if (variable == nullptr || variable->type != VariableString) return;
    warnAtOperand(slot, slot.operand1Field,
                  slot.mnemonic + " does nothing to the string variable " + quoted(slot.operand1) +
                      ": kivinterp only adds to a text, and tarnel_perl writes nothing for it; "
                      "work on an integer or float variable");
  }

  // What kivinterp does with a jump whose target no label names.
  static std::string unresolvedJump(const std::string& target) {
    if (startsWithLetter(target)) {
      return "kivinterp reports " + quoted("invalid code label " + target) +
             " each time the jump runs and goes on with the next line";
    }
    return "kivinterp, as it does not start with a letter, takes it for a place in the program "
           "and jumps there";
  }

  void checkJump(const StatementSlot& slot) {
    const std::string& target = slot.operand1;
    if (labels_.count(target) != 0) {
      if (watchedNames_.count(target) != 0) jumpedTo_.insert(target);
      return;
    }
    if (target == "stop") return;  // the label tarnel ends every program with
    if (indentedLabels_.count(target) != 0) {
      indentedJumps_[target].push_back(&slot);
      return;
    }
    warnAtOperand(slot, slot.operand1Field,
                  "no line defines the label " + quoted(target) + ", so " + unresolvedJump(target) +
                      "; write the label at the start of a line or correct the name");
  }

  void checkLabelsJumpedTo() {
    for (const auto& [target, jumps] : indentedJumps_) {
      const LabelRecord& label = *indentedLabels_.at(target);
      bool tab = labelName(label).find('\t') != std::string::npos;
      const std::string& written = context_.writtenLine(label.position.line);
      std::size_t colon = written.find(':', static_cast<std::size_t>(label.position.column - 1));
      int width = colon == std::string::npos ? widthOf(target)
                                             : static_cast<int>(colon) - label.position.column + 1;
      Diagnostic& diagnostic = context_.add(
          Severity::Warning, label.position, width,
          std::string("this label is indented, so its name keeps ") +
              (tab ? "the tab" : "a blank") + " in front and the jumps to " + quoted(target) +
              " never find it: kivinterp reports " + quoted("invalid code label " + target) +
              "; start the label in the first column");
      std::size_t indentation = written.find_first_not_of(" \t");
      if (indentation != std::string::npos && indentation > 0) {
        FixIt& fix =
            CheckContext::offerFix(diagnostic, "start the label in the first column", true);
        CheckContext::edit(fix, SourcePosition{label.position.line, 1},
                           static_cast<int>(indentation), "");
      }
      for (const StatementSlot* jump : jumps) {
        std::pair<SourcePosition, int> place = operandPlace(*jump, jump->operand1Field);
        context_.attach(diagnostic, place.first, place.second, "a jump to " + quoted(target));
      }
    }
    for (const LabelRecord* watched : watchedLabels_) {
      const LabelRecord& slot = *watched;
      std::string name = labelName(slot);
      if (jumpedTo_.count(name) == 0) continue;
      const LabelRecord* first = labels_.at(name);
      if (first != watched) {
        Diagnostic& diagnostic = context_.add(
            Severity::Warning, slot.position, widthOf(trimmed(name)),
            "the label " + quoted(name) + " is already defined on line " +
                std::to_string(first->position.line) +
                ": every jump to it goes to the first, so none reaches this one; rename one "
                "of them");
        context_.attach(diagnostic, first->position, widthOf(trimmed(name)),
                        "the first " + quoted(name + ":"));
      } else if (name == "stop") {
        context_.add(Severity::Warning, slot.position, 4,
                     "tarnel ends every program with a label \"stop\" of its own; this one takes "
                     "the jumps to \"stop\", which then no longer end the program; choose "
                     "another name");
      }
    }
  }

  // Lines of the begin block that hold text but gave tarnel's parser no
  // slot: it passes over lines of three bytes or fewer, CR included, once
  // the blanks are collapsed.
  void checkSkippedLines() {
    const SourceAnalysis& analysis = context_.assembler();
    if (analysis.stop != SourceStop::None) return;
    const std::string& text = analysis.text;
    std::size_t start = static_cast<std::size_t>(analysis.code.open + 1);
    std::size_t stop = static_cast<std::size_t>(analysis.code.close);
    bool quoted_ = false;
    SourcePosition position = context_.positionOf(static_cast<long>(start));
    for (std::size_t lineStart = start; lineStart < stop;
         position = SourcePosition{position.line + 1, 1}) {
      std::size_t feed = text.find('\n', lineStart);
      std::size_t lineEnd = feed == std::string::npos || feed > stop ? stop : feed;
      if (read_[static_cast<std::size_t>(position.line)] && !quoted_) {
        // A line that gave a slot: only its quotes matter here.
        if (std::count(text.begin() + static_cast<long>(lineStart),
                       text.begin() + static_cast<long>(lineEnd), '"') %
                2 ==
            1) {
          quoted_ = !quoted_;
        }
        lineStart = lineEnd + 1;
        continue;
      }
      std::string piece = text.substr(lineStart, lineEnd - lineStart);
      std::string visible = trimmed(piece.substr(0, piece.find_last_not_of("\r") + 1));
      if (!quoted_ && !visible.empty() && !read_[static_cast<std::size_t>(position.line)]) {
        std::size_t first = piece.find_first_not_of(" \t");
        bool label = visible.find(':') != std::string::npos;
        context_.add(Severity::Warning, shifted(position, static_cast<int>(first)),
                     widthOf(visible),
                     "tarnel passes over this line: a line of three characters or fewer, its "
                     "line end included, is never read, so " +
                         (label ? "the label " + quoted(visible.substr(0, visible.find(':'))) +
                                      " is never defined; give it a longer name"
                                : quoted(visible) + " is never assembled"));
      }
      if (std::count(piece.begin(), piece.end(), '"') % 2 == 1) quoted_ = !quoted_;
      lineStart = lineEnd + 1;
    }
  }

  CheckContext& context_;
  std::vector<bool> read_;                                      // lines that gave tarnel a slot
  std::deque<LabelRecord> labelSlots_;                          // every label, in order
  std::deque<StatementSlot> jumpSlots_;                         // every jump, checked in finish
  std::unordered_map<std::string, const LabelRecord*> labels_;  // the first of each name
  // Labels written after blanks or a tab, by the name without them.
  std::unordered_map<std::string, const LabelRecord*> indentedLabels_;
  SlotsByLine perlSlots_;                          // tarnel_perl's, of the part visited
  std::vector<const LabelRecord*> watchedLabels_;  // second labels of a name, and "stop"
  std::unordered_set<std::string> watchedNames_;   // their names
  std::unordered_set<std::string> jumpedTo_;       // those of them some jump reaches
  std::map<std::string, std::vector<const StatementSlot*>> indentedJumps_;
};

StatementChecks::StatementChecks(CheckContext& context)
    : checker_(std::make_unique<Checker>(context)) {}
StatementChecks::~StatementChecks() = default;
void StatementChecks::visit(const ProgramTables& tarnel, const ProgramTables& perl) {
  checker_->visit(tarnel, perl);
}
void StatementChecks::finish() { checker_->finish(); }
