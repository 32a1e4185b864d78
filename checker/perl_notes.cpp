// The notes on the Perl translation: where the script tarnel_perl writes
// for a line does something other than what tarnel's bytecode does, read
// from tarnel_perl's own parse of the text (blanks kept as written).
#include <unordered_map>
#include <unordered_set>

#include "checks.h"
#include "line_text.h"
#include "mnemonics.h"
#include "opcodes.h"
#include "perl_words.h"

namespace {

const char kForPerl[] = "for tarnel_perl: ";

bool known(SourceSpan span) { return span.begin.line != 0; }

std::string labelName(const StatementSlot& slot) {
  return trimmed(slot.labelText.substr(0, slot.labelText.find(':')));
}

// text with the blanks outside double quotes removed, as tarnel stores an
// operand.
std::string withoutBlanks(std::string text) {
  stripUnquotedSpaces(text);
  return text;
}

class PerlChecker {
 public:
  explicit PerlChecker(CheckContext& context) : context_(context) {
    for (const StatementSlot& slot : context_.perl().tables.statements()) {
      if (!slot.inUse) continue;
      if (slot.isLabel) {
        labels_.insert(labelName(slot));
      } else if (isJump(slot)) {
        jumpTargets_.insert(trimmed(slot.operand1));
      }
    }
    for (const StatementSlot& slot : context_.assembler().tables.statements()) {
      if (slot.inUse) assemblerSlots_.emplace(slot.position.line, &slot);
    }
  }

  void run() {
    for (const StatementSlot& slot : context_.perl().tables.statements()) {
      if (!slot.inUse) continue;
      if (slot.isLabel) {
        checkLabel(slot);
      } else {
        checkInstruction(slot);
      }
    }
    for (const VariableSlot& slot : context_.perl().tables.variables()) {
      if (slot.inUse) checkVariableName(slot);
    }
  }

 private:
  static bool isJump(const StatementSlot& slot) {
    const Mnemonic* mnemonic = mnemonicByCode(lookupMnemonic(slot.mnemonic));
    return mnemonic != nullptr && isJumpOpcode(mnemonic->opcode);
  }

  void note(SourcePosition position, int length, const std::string& message) {
    context_.add(Severity::Note, position, length, kForPerl + message);
  }

  // The place of an operand as written, its outer blanks included.
  static std::pair<SourcePosition, int> fieldPlace(const StatementSlot& slot, SourceSpan field) {
    if (!known(field) || field.begin.line != field.end.line) {
      return {slot.position, widthOf(slot.mnemonic)};
    }
    return {field.begin, field.end.column - field.begin.column};
  }

  void checkLabel(const StatementSlot& slot) {
    std::string name = labelName(slot);
    if (name.empty() || name.find_first_of(" ,\"") != std::string::npos) return;
    int width = widthOf(name);
    if (isPerlQuoteOperator(name)) {
      note(slot.position, width,
           "Perl reads " + quoted(name) +
               " as its own operator, so this label line stops the script before it runs; "
               "rename the label");
    } else if (!isPerlName(name)) {
      note(slot.position, width,
           quoted(name) +
               " cannot be a Perl label, so the script does not run; use letters, digits and "
               "\"_\", starting with a letter");
    } else if (isPerlReservedWord(name) && jumpTargets_.count(name) != 0) {
      note(slot.position, width,
           "Perl reads " + quoted(name) + " as its own keyword, so " + quoted("goto " + name) +
               " fails and the script stops there; rename the label");
    }
  }

  void checkInstruction(const StatementSlot& slot) {
    if (context_.isCutLine(slot.position.line)) return;
    const Mnemonic* mnemonic = mnemonicByCode(lookupMnemonic(slot.mnemonic));
    if (mnemonic == nullptr) {
      checkUnknownForPerlOnly(slot);
      return;
    }
    const std::string& name = slot.mnemonic;
    if (isJump(slot)) {
      if (trimmed(slot.operand1) == "stop" && labels_.count("stop") == 0) {
        std::pair<SourcePosition, int> place = fieldPlace(slot, slot.operand1Field);
        note(place.first, place.second,
             "the script has no label \"stop\", so Perl stops here with \"Can't find label "
             "stop\" instead of ending quietly; jump to a label on the block's last line");
      }
      return;
    }
    if (name == "print") {
      checkPrint(slot);
    } else if (name == "push") {
      checkSource(slot, slot.operand1, slot.operand1Field);
    }
    if (mnemonic->operandCount == 2 && name != "cmp" && name != "mov") {
      checkTypedDestination(slot);
    } else if (name == "not") {
      checkTypedDestination(slot);
    }
    if (mnemonic->operandCount == 2) checkSource(slot, slot.operand2, slot.operand2Field);
    if (name == "div") {
      const VariableSlot* variable = context_.perlVariable(slot.operand1);
      if (variable != nullptr && variable->type == VariableInteger) {
        note(slot.position, widthOf(name),
             "div of the integer variable " + quoted(slot.operand1) +
                 " keeps the fraction in Perl (7 div 2 gives 3.5 there, 3 in kivinterp)");
      }
    }
  }

  // A statement tarnel_perl reports that tarnel passes over or reads
  // otherwise: a line of blanks, or a short line tarnel's collapsed blanks
  // make too short to read.
  void checkUnknownForPerlOnly(const StatementSlot& slot) {
    auto assembled = assemblerSlots_.find(slot.position.line);
    if (assembled != assemblerSlots_.end()) return;  // tarnel reports it itself
    std::string word = slot.mnemonic;
    if (!word.empty() && word.back() == '\r') word.pop_back();
    if (trimmed(word).empty()) {
      const std::string& line = context_.writtenLine(slot.position.line);
      note(SourcePosition{slot.position.line, 1}, widthOf(line),
           "this line of blanks becomes an instruction, and tarnel_perl reports it as invalid; "
           "leave the line empty");
    } else {
      note(slot.position, widthOf(word),
           "tarnel_perl reads " + quoted(word) +
               " as an instruction and reports it as invalid, where tarnel passes over the "
               "line; remove it");
    }
  }

  // An operand that tarnel reads as a variable, while the blanks kept in
  // it make tarnel_perl write it as it stands.
  void checkSource(const StatementSlot& slot, const std::string& operand, SourceSpan field) {
    std::string name = withoutBlanks(operand);
    if (name == operand || context_.perlVariable(operand) != nullptr ||
        context_.perlVariable(name) == nullptr) {
      return;
    }
    std::pair<SourcePosition, int> place = fieldPlace(slot, field);
    note(place.first, place.second,
         "the operand keeps its blank (" + quoted(operand) +
             "), so tarnel_perl writes it as it stands, not as the variable $" + name + "; write " +
             quoted(tarnelText(slot)));
  }

  // The statement as tarnel stores it, blanks removed from its operands.
  static std::string tarnelText(const StatementSlot& slot) {
    std::string text = slot.mnemonic + " " + withoutBlanks(slot.operand1);
    if (known(slot.operand2Field)) text += "," + withoutBlanks(slot.operand2);
    return text;
  }

  void checkPrint(const StatementSlot& slot) {
    const std::string& operand = slot.operand1;
    if (operand.find('"') != std::string::npos) return;
    const VariableSlot* variable = context_.perlVariable(operand);
    std::pair<SourcePosition, int> place = fieldPlace(slot, slot.operand1Field);
    if (variable != nullptr) {
      if (variable->type == VariableFloat) {
        note(place.first, place.second,
             "print of the float variable " + quoted(operand) +
                 " writes a whole number in Perl (2.5 prints as 2); kivinterp prints 2.5");
      }
      return;
    }
    std::string name = trimmed(operand);
    std::string fix = context_.perlVariable(name) != nullptr
                          ? "write " + quoted("print " + name)
                          : "write the text between double quotes";
    note(place.first, place.second,
         quoted(operand) +
             " is neither a variable nor a text in double quotes, so tarnel_perl "
             "reports " +
             quoted("invalid variable " + operand) + " and leaves this print out; " + fix);
  }

  // A first operand that names a variable for tarnel but, with its blanks,
  // none for tarnel_perl, where the fragment depends on the variable's
  // type.
  void checkTypedDestination(const StatementSlot& slot) {
    const std::string& operand = slot.operand1;
    std::string name = withoutBlanks(operand);
    if (name == operand || context_.perlVariable(operand) != nullptr ||
        context_.perlVariable(name) == nullptr) {
      return;
    }
    std::pair<SourcePosition, int> place = fieldPlace(slot, slot.operand1Field);
    note(place.first, place.second,
         "the blank stays in the name (" + quoted(operand) + "), so tarnel_perl reports " +
             quoted("invalid variable " + operand) + " and leaves this " + slot.mnemonic +
             " out; write " + quoted(tarnelText(slot)));
  }

  void checkVariableName(const VariableSlot& slot) {
    SourcePosition at = shifted(slot.position, 5);
    int width = widthOf(slot.name);
    if (slot.name.find(":=") != std::string::npos) return;  // a warning of its own
    if (!isPerlName(slot.name)) {
      note(at, width,
           quoted(slot.name) +
               " cannot be the name of a Perl variable, so the script does not run; use "
               "letters, digits and \"_\", starting with a letter");
    } else if (slot.name == "true" || slot.name == "false" || slot.name == "stackpointer") {
      note(at, width,
           "the script keeps its own $" + slot.name + " for " +
               (slot.name == "stackpointer" ? "push and pop" : "cmp and the conditional jumps") +
               "; a variable of that name is the same Perl variable, so changing it breaks "
               "them; choose another name");
    }
  }

  CheckContext& context_;
  std::unordered_set<std::string> labels_;
  std::unordered_set<std::string> jumpTargets_;
  std::unordered_map<int, const StatementSlot*> assemblerSlots_;  // by line
};

}  // namespace

void checkPerlTranslation(CheckContext& context) { PerlChecker(context).run(); }
