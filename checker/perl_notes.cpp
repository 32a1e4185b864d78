// The notes on the Perl translation: where the script tarnel_perl writes
// for a line does something other than what tarnel's bytecode does, read
// from tarnel_perl's own parse of the text (blanks kept as written).
#include <algorithm>
#include <memory>
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

}  // namespace

class PerlChecks::Checker {
 public:
  explicit Checker(CheckContext& context) : context_(context) {}

  // One part of the code block. What needs the whole block (the labels
  // and jumps Perl sees, the variables input reads) waits for finish.
  void visit(const ProgramTables& tarnel, const ProgramTables& perl) {
    assemblerSlots_.fill(tarnel);
    previousInstruction_.fill(tarnel);
    const StatementSlot* previous = haveCarried_ ? &carried_ : nullptr;
    const StatementSlot* last = nullptr;
    for (const StatementSlot& slot : tarnel.statements()) {
      if (!slot.inUse) continue;
      last = &slot;
      if (slot.isLabel) continue;
      if (slot.mnemonic == "input") inputVariables_.insert(slot.operand1);
      previousInstruction_.set(slot.position.line, previous);
      previous = &slot;
    }
    for (const StatementSlot& slot : perl.statements()) {
      if (!slot.inUse) continue;
      if (slot.isLabel) {
        std::string name = labelName(slot);
        if (name == "stop") stopLabel_ = true;
        if (mayNeedRenaming(name)) {
          labelPlaces_[name].push_back(slot.position);
          labelSlots_.push_back(PerlLabel{name, slot.position});
        } else if (!isPerlName(name)) {
          labelSlots_.push_back(PerlLabel{name, slot.position});
        }
      } else {
        if (isJump(slot)) {
          std::string target = trimmed(slot.operand1);
          if (mayNeedRenaming(target)) jumpTargets_.insert(target);
          if (mayNeedRenaming(target) && known(slot.operand1Field)) {
            std::size_t blanks = slot.operand1.find_first_not_of(" \t");
            jumpPlaces_[target].push_back(
                shifted(slot.operand1Field.begin, static_cast<int>(blanks)));
          }
        }
        checkInstruction(slot);
      }
    }
    if (previous != nullptr && previous != &carried_) {
      carried_ = *previous;
      haveCarried_ = true;
    }
    if (last != nullptr) lastSlot_ = *last;
  }

  void finish() {
    for (const PerlLabel& label : labelSlots_) checkLabel(label.name, label.position);
    for (const StatementSlot& slot : stopJumps_) checkJumpToStop(slot);
    for (const EndOfInput& candidate : endOfInput_) {
      if (inputVariables_.count(candidate.variable) != 0) {
        noteEndOfInput(candidate.jump, candidate.variable);
      }
    }
    for (const VariableSlot& slot : context_.assembler().tables.variables()) {
      if (!slot.inUse) continue;
      checkVariableName(slot);
      if (slot.type == VariableString) {
        const std::string& line = context_.writtenLine(slot.position.line);
        std::size_t value = line.find(":= ");
        if (value != std::string::npos) {
          checkPerlText(slot.value, SourcePosition{slot.position.line, static_cast<int>(value) + 4},
                        true);
        }
      }
    }
  }

 private:
  static bool isJump(const StatementSlot& slot) {
    const Mnemonic* mnemonic = mnemonicNamed(slot.mnemonic);
    return mnemonic != nullptr && isJumpOpcode(mnemonic->opcode);
  }

  Diagnostic& note(SourcePosition position, int length, const std::string& message) {
    return context_.add(Severity::Note, position, length, kForPerl + message);
  }

  // The blanks an operand was written with, which tarnel strips and
  // tarnel_perl keeps.
  struct Blanks {
    SourcePosition start;  // the field's first byte
    int leading = 0;
    int trailing = 0;
    bool beforeComment = false;  // the trailing ones stand before a ";"
    bool afterComma = false;     // the leading ones stand after the comma
  };

  Blanks blanksOf(SourceSpan field) const {
    Blanks blanks;
    if (!known(field) || field.begin.line != field.end.line) return blanks;
    blanks.start = field.begin;
    const std::string& line = context_.writtenLine(field.begin.line);
    std::size_t begin = static_cast<std::size_t>(field.begin.column - 1);
    std::size_t end = std::min(line.size(), static_cast<std::size_t>(field.end.column - 1));
    if (begin >= end) return blanks;
    std::string text = line.substr(begin, end - begin);
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return blanks;
    blanks.leading = static_cast<int>(first);
    blanks.trailing = static_cast<int>(text.size() - text.find_last_not_of(' ') - 1);
    // The parser drops the byte after the field: a blank there, then ";".
    blanks.beforeComment = end + 1 < line.size() && line[end] == ' ' && line[end + 1] == ';';
    blanks.afterComma = begin > 0 && line[begin - 1] == ',';
    return blanks;
  }

  // Removes the blanks around an operand; the blank the parser drops before
  // a comment stays, so the operand keeps its last byte.
  static void offerBlankFix(Diagnostic& diagnostic, const Blanks& blanks, const std::string& name) {
    if (blanks.leading == 0 && blanks.trailing == 0) return;
    std::string description;
    if (blanks.trailing == 0 && blanks.afterComma) {
      description = blanks.leading == 1 ? "remove the blank after the comma"
                                        : "remove the blanks after the comma";
    } else if (blanks.leading == 0 && blanks.beforeComment) {
      description = "leave one blank before the comment";
    } else {
      description = "remove the blanks around " + quoted(name);
    }
    FixIt& fix = CheckContext::offerFix(diagnostic, description, true);
    if (blanks.leading > 0) CheckContext::edit(fix, blanks.start, blanks.leading, "");
    if (blanks.trailing > 0) {
      int width = blanks.leading + widthOf(name);
      CheckContext::edit(fix, shifted(blanks.start, width), blanks.trailing, "");
    }
  }

  // How a note on an operand's blanks ends: what to write instead.
  static std::string blankAdvice(const Blanks& blanks, const std::string& statement) {
    if (blanks.leading == 0 && blanks.beforeComment) {
      return "; leave one blank before the \";\"";
    }
    return "; write " + quoted(statement);
  }

  // The place of an operand as written, its outer blanks included.
  static std::pair<SourcePosition, int> fieldPlace(const StatementSlot& slot, SourceSpan field) {
    if (!known(field) || field.begin.line != field.end.line) {
      return {slot.position, widthOf(slot.mnemonic)};
    }
    return {field.begin, field.end.column - field.begin.column};
  }

  void checkJumpToStop(const StatementSlot& slot) {
    if (stopLabel_) return;
    std::pair<SourcePosition, int> place = fieldPlace(slot, slot.operand1Field);
    Diagnostic& diagnostic =
        note(place.first, place.second,
             "the script has no label \"stop\", so Perl stops here with \"Can't find label "
             "stop\" instead of ending quietly; jump to a label on the block's last line");
    offerEndLabel(diagnostic, slot);
  }

  // Names a label may have to be renamed from: those Perl takes as its
  // own words.
  static bool mayNeedRenaming(const std::string& name) {
    return isPerlReservedWord(name) || isPerlQuoteOperator(name);
  }

  void checkLabel(const std::string& name, SourcePosition position) {
    if (name.empty() || name.find_first_of(" ,\"") != std::string::npos) return;
    int width = widthOf(name);
    if (isPerlQuoteOperator(name)) {
      Diagnostic& diagnostic =
          note(position, width,
               "Perl reads " + quoted(name) +
                   " as its own operator, so this label line stops the script before it runs; "
                   "rename the label");
      offerRename(diagnostic, name);
    } else if (!isPerlName(name)) {
      note(position, width,
           quoted(name) +
               " cannot be a Perl label, so the script does not run; use letters, digits and "
               "\"_\", starting with a letter");
    } else if (isPerlReservedWord(name) && jumpTargets_.count(name) != 0) {
      Diagnostic& diagnostic =
          note(position, width,
               "Perl reads " + quoted(name) + " as its own keyword, so " + quoted("goto " + name) +
                   " fails and the script stops there; rename the label");
      offerRename(diagnostic, name);
    }
  }

  // True when name is taken by a label, a jump, or a variable of either
  // translation, or is a word Perl keeps for itself.
  //
  // Asked only when a fix is offered, so a look through the begin block
  // for the word costs little.
  bool nameTaken(const std::string& name) {
    if (context_.variable(name) != nullptr || isPerlReservedWord(name) ||
        isPerlQuoteOperator(name) || name == "stop") {
      return true;
    }
    return wordPlaces(name) > 0;
  }

  // base, or base followed by the first number from 2 that makes it a
  // name nothing in the program uses.
  std::string freshName(const std::string& base) {
    std::string name = base;
    for (int number = 2; nameTaken(name); ++number) name = base + std::to_string(number);
    return name;
  }

  // Renames the label name, every line that defines it and every jump to
  // it, to a name that is no Perl word and not used: tarnel's jumps reach
  // the same lines as before, and Perl's goto reaches them too.
  //
  // The rename is safe only when it names every place where the word
  // stands in the begin block: a line that does not parse as a jump yet (a
  // tab before its mnemonic, say) may turn into one once fixed.
  void offerRename(Diagnostic& diagnostic, const std::string& name) {
    std::string renamed = freshName(name + "_label");
    FixIt& fix = CheckContext::offerFix(
        diagnostic, "rename the label " + quoted(name) + " to " + quoted(renamed), true);
    int width = widthOf(name);
    for (SourcePosition place : labelPlaces_[name]) CheckContext::edit(fix, place, width, renamed);
    for (SourcePosition place : jumpPlaces_[name]) CheckContext::edit(fix, place, width, renamed);
    std::size_t edits = fix.edits.size();
    fix.safe = wordPlaces(name) == edits;
  }

  // How many times name stands as a word of its own outside double quotes
  // in the begin block; each name is counted once.
  std::size_t wordPlaces(const std::string& name) {
    auto counted = wordCounts_.find(name);
    if (counted == wordCounts_.end()) counted = wordCounts_.emplace(name, countWord(name)).first;
    return counted->second;
  }

  std::size_t countWord(const std::string& name) const {
    const SourceAnalysis& analysis = context_.assembler();
    if (analysis.code.open < 0 || analysis.code.close < 0) return 0;
    const std::string& text = analysis.text;
    auto nameByte = [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    };
    std::size_t count = 0;
    bool quoted_ = false;
    for (std::size_t at = static_cast<std::size_t>(analysis.code.open) + 1;
         at < static_cast<std::size_t>(analysis.code.close); ++at) {
      if (text[at] == '"') quoted_ = !quoted_;
      if (quoted_ || text.compare(at, name.size(), name) != 0) continue;
      bool before = at > 0 && nameByte(text[at - 1]);
      bool after = at + name.size() < text.size() && nameByte(text[at + name.size()]);
      if (!before && !after) ++count;
    }
    return count;
  }

  void checkInstruction(const StatementSlot& slot) {
    if (context_.isCutLine(slot.position.line)) return;
    const Mnemonic* mnemonic = mnemonicNamed(slot.mnemonic);
    if (mnemonic == nullptr) {
      checkUnknownForPerlOnly(slot);
      return;
    }
    const std::string& name = slot.mnemonic;
    if (isJump(slot)) {
      if (trimmed(slot.operand1) == "stop") stopJumps_.push_back(slot);
      if (name == "je" || name == "jne") checkEndOfInput(slot);
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
    if (name == "mov" || name == "add") {
      checkPerlText(slot.operand2, slot.operand2Field.begin, false);
    } else if (name == "push") {
      checkPerlText(slot.operand1, slot.operand1Field.begin, false);
    }
    if (name == "div") {
      const VariableSlot* variable = context_.perlVariable(slot.operand1);
      if (variable != nullptr && variable->type == VariableInteger) {
        std::string drop = "and " + slot.operand1 + ",-1";
        Diagnostic& diagnostic =
            note(slot.position, widthOf(name),
                 "div of the integer variable " + quoted(slot.operand1) +
                     " keeps the fraction in Perl (7 div 2 gives 3.5 there, 3 in kivinterp); " +
                     quoted(drop) +
                     " after it drops the fraction in Perl when the quotient is not negative, "
                     "and changes nothing in kivinterp");
        const std::string& line = context_.writtenLine(slot.position.line);
        CheckContext::edit(
            CheckContext::offerFix(diagnostic, "add " + quoted(drop) + " after it", false),
            SourcePosition{slot.position.line, widthOf(line) + 1}, 0,
            "\n" + line.substr(0, static_cast<std::size_t>(slot.position.column - 1)) + drop);
      }
    }
  }

  // The name of a label on the code block's last line that both
  // translations reach; empty when the block does not end with one.
  std::string lastLineLabel() const {
    if (!lastSlot_.inUse || !lastSlot_.isLabel) return std::string();
    const std::string& text = lastSlot_.labelText;
    std::size_t colon = text.find(':');
    std::string name = text.substr(0, colon);
    bool plain = colon + 1 == text.size() && isPerlName(name) && !isPerlReservedWord(name) &&
                 !isPerlQuoteOperator(name);
    return plain ? name : std::string();
  }

  // jmp stop made a jump to a label of the program's own on the block's
  // last line: tarnel runs off the end there and stops as at "stop", and
  // Perl's goto finds the label. The label is added before the block's
  // closing "}" when no label stands there.
  void offerEndLabel(Diagnostic& diagnostic, const StatementSlot& jump) {
    if (!known(jump.operand1Field)) return;
    std::string target = lastLineLabel();
    bool add = target.empty();
    SourcePosition close = context_.positionOf(context_.assembler().code.close);
    const std::string& closeLine = context_.writtenLine(close.line);
    if (add) {
      if (closeLine.find_first_not_of(" \t") != static_cast<std::size_t>(close.column - 1) ||
          close.line == context_.positionOf(context_.assembler().code.open).line) {
        return;
      }
      target = freshName("finish");
    }
    FixIt& fix = CheckContext::offerFix(
        diagnostic,
        add ? "jump to a new label " + quoted(target) + " on the block's last line"
            : "jump to " + quoted(target) + " on the block's last line",
        true);
    std::size_t blanks = jump.operand1.find_first_not_of(" \t");
    CheckContext::edit(fix, shifted(jump.operand1Field.begin, static_cast<int>(blanks)), 4, target);
    if (add) CheckContext::edit(fix, SourcePosition{close.line, 1}, 0, target + ":\n");
  }

  // A statement tarnel_perl reports that tarnel passes over or reads
  // otherwise: a line of blanks, or a short line tarnel's collapsed blanks
  // make too short to read.
  void checkUnknownForPerlOnly(const StatementSlot& slot) {
    if (assemblerSlots_.at(slot.position.line) != nullptr) return;  // tarnel reports it itself
    std::string word = slot.mnemonic;
    if (!word.empty() && word.back() == '\r') word.pop_back();
    if (trimmed(word).empty()) {
      const std::string& line = context_.writtenLine(slot.position.line);
      Diagnostic& diagnostic =
          note(SourcePosition{slot.position.line, 1}, widthOf(line),
               "this line of blanks becomes an instruction, and tarnel_perl reports it as "
               "invalid; leave the line empty");
      if (trimmed(line).empty() && !line.empty()) {
        CheckContext::edit(CheckContext::offerFix(diagnostic, "leave the line empty", true),
                           SourcePosition{slot.position.line, 1}, widthOf(line), "");
      }
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
    Blanks blanks = blanksOf(field);
    const char* kept = blanks.leading == 0 && blanks.beforeComment
                           ? "the blanks before the comment stay at the end of the operand ("
                           : "the operand keeps its blank (";
    Diagnostic& diagnostic = note(
        place.first, place.second,
        kept + quoted(operand) + "), so tarnel_perl writes it as it stands, not as the variable $" +
            name + blankAdvice(blanks, tarnelText(slot)));
    offerBlankFix(diagnostic, blanks, name);
  }

  // The statement as tarnel stores it, blanks removed from its operands.
  static std::string tarnelText(const StatementSlot& slot) {
    std::string text = slot.mnemonic + " " + withoutBlanks(slot.operand1);
    if (known(slot.operand2Field)) text += "," + withoutBlanks(slot.operand2);
    return text;
  }

  void checkPrint(const StatementSlot& slot) {
    const std::string& operand = slot.operand1;
    if (operand.find('"') != std::string::npos) {
      checkPerlText(operand, slot.operand1Field.begin, true);
      return;
    }
    if (context_.rejectedDeclarationLine(trimmed(operand)) != 0) return;  // reported so
    const VariableSlot* variable = context_.perlVariable(operand);
    std::pair<SourcePosition, int> place = fieldPlace(slot, slot.operand1Field);
    if (variable != nullptr) {
      if (variable->type == VariableFloat) {
        Diagnostic& diagnostic =
            note(place.first, place.second,
                 "print of the float variable " + quoted(operand) +
                     " writes a whole number in Perl (2.5 prints as 2); kivinterp prints 2.5; "
                     "copied into a string variable first, the value prints with its fraction "
                     "in both (a whole number as 3. in kivinterp, 3 in Perl)");
        offerPrintAsText(diagnostic, slot, *variable);
      }
      return;
    }
    std::string name = trimmed(operand);
    bool blanksOnly = context_.perlVariable(name) != nullptr;
    Blanks blanks = blanksOf(slot.operand1Field);
    std::string fix = blanksOnly ? blankAdvice(blanks, "print " + name).substr(2)
                                 : "write the text between double quotes";
    Diagnostic& diagnostic =
        note(place.first, place.second,
             quoted(operand) +
                 " is neither a variable nor a text in double quotes, so tarnel_perl "
                 "reports " +
                 quoted("invalid variable " + operand) + " and leaves this print out; " + fix);
    if (blanksOnly) offerBlankFix(diagnostic, blanks, name);
  }

  // print of a float variable made a print of a string variable that a mov
  // before it fills, declared after the float when it is not yet.
  void offerPrintAsText(Diagnostic& diagnostic, const StatementSlot& print,
                        const VariableSlot& number) {
    std::string base = number.name + "_text";
    const VariableSlot* existing = context_.perlVariable(base);
    bool declared = existing != nullptr && existing->type == VariableString &&
                    context_.variable(base) != nullptr;
    std::string text = declared ? base : freshName(base);
    FixIt& fix = CheckContext::offerFix(
        diagnostic, "print it through the string variable " + quoted(text), false);
    if (!declared) {
      const std::string& line = context_.writtenLine(number.position.line);
      CheckContext::edit(fix, SourcePosition{number.position.line, widthOf(line) + 1}, 0,
                         "\nvar$ " + text);
    }
    const std::string& line = context_.writtenLine(print.position.line);
    std::string indentation = line.substr(0, static_cast<std::size_t>(print.position.column - 1));
    CheckContext::edit(fix, print.position, 0,
                       "mov " + text + "," + number.name + "\n" + indentation);
    std::size_t blanks = print.operand1.find_first_not_of(" \t");
    CheckContext::edit(fix, shifted(print.operand1Field.begin, static_cast<int>(blanks)),
                       widthOf(number.name), text);
  }

  // The first stretch of a quoted text in operand that Perl reads as its
  // own: "$" starts a variable (or, last in the text, stops the script),
  // "@" and a name an array, and in a text that printf prints "%" and a
  // format letter a format ("%%" a single "%"). at is its offset in
  // operand; empty when there is none.
  static std::string perlTakes(const std::string& operand, bool printed, std::size_t& at) {
    bool inside = false;
    for (std::size_t i = 0; i < operand.size(); ++i) {
      char c = operand[i];
      if (c == '"') inside = !inside;
      if (!inside) continue;
      char next = i + 1 < operand.size() ? operand[i + 1] : '\0';
      auto nameByte = [](char b) {
        return (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_';
      };
      if (c == '$') {
        at = i;
        std::size_t end = i + 1;
        while (end < operand.size() && nameByte(operand[end])) ++end;
        if (end == i + 1 && next != '"' && next != '\0') ++end;
        return operand.substr(i, end - i);
      }
      if (c == '@' && (nameByte(next) || next == '{' || next == ':' || next == '$')) {
        at = i;
        std::size_t end = i + 1;
        while (end < operand.size() && nameByte(operand[end])) ++end;
        return operand.substr(i, std::max(end, i + 2) - i);
      }
      if (c == '%' && printed) {
        std::size_t end = i + 1;
        while (end < operand.size() &&
               std::string("-+ 0#").find(operand[end]) != std::string::npos) {
          ++end;
        }
        while (end < operand.size() &&
               ((operand[end] >= '0' && operand[end] <= '9') || operand[end] == '.')) {
          ++end;
        }
        while (end < operand.size() &&
               std::string("hlqv").find(operand[end]) != std::string::npos) {
          ++end;
        }
        if (end < operand.size() &&
            std::string("csduoxefgbpnia%").find(operand[end]) != std::string::npos) {
          at = i;
          return operand.substr(i, end + 1 - i);
        }
      }
    }
    return std::string();
  }

  // A text that Perl rewrites before the script prints or stores it.
  void checkPerlText(const std::string& operand, SourcePosition start, bool printed) {
    if (start.line == 0 || operand.find('"') == std::string::npos) return;
    std::size_t at = 0;
    std::string taken = perlTakes(operand, printed, at);
    if (taken.empty()) return;
    // The operand may begin with blanks the position does not count.
    std::size_t lead = operand.find_first_not_of(' ');
    std::string text = operand.substr(lead == std::string::npos ? 0 : lead);
    note(shifted(start, static_cast<int>(at)), widthOf(taken),
         "Perl reads " + quoted(taken) +
             " in this text as its own (\"$\" and \"@\" start a "
             "variable, \"%\" a format of printf), so the script " +
             (printed ? "prints" : "keeps") + " something else than " + text +
             "; leave \"$\", \"@\" and \"%\" out of texts");
  }

  // je or jne right after a cmp of a value that input read with 0: at the
  // end of the input kivinterp reads the empty text, which cmp counts as
  // 0, and Perl no value at all, which "eq" does not find equal to 0.
  void checkEndOfInput(const StatementSlot& jump) {
    const StatementSlot* compare = previousInstruction_.at(jump.position.line);
    if (compare == nullptr || compare->mnemonic != "cmp") return;
    const std::string& value = compare->operand2;
    if (value.empty() || value.find_first_not_of('0') != std::string::npos) return;
    endOfInput_.push_back(EndOfInput{jump, compare->operand1});
  }

  void noteEndOfInput(const StatementSlot& jump, const std::string& variable) {
    bool equal = jump.mnemonic == "je";
    const char* instead = equal ? "jle" : "jg";
    Diagnostic& diagnostic =
        note(jump.position, widthOf(jump.mnemonic),
             "at the end of the input Perl gives " + quoted(variable) +
                 " no value, which cmp does not find equal to 0 (kivinterp gives the empty text, "
                 "which it does), so this " +
                 jump.mnemonic + (equal ? " never jumps there" : " always jumps there") +
                 ", and an input loop it should end runs for ever; " + quoted(instead) +
                 " ends it in both, and " + (equal ? "also jumps" : "does not jump") +
                 " for a value below 0");
    CheckContext::edit(CheckContext::offerFix(diagnostic, "write " + quoted(instead), false),
                       jump.position, widthOf(jump.mnemonic), instead);
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
    Blanks blanks = blanksOf(slot.operand1Field);
    Diagnostic& diagnostic =
        note(place.first, place.second,
             "the blank stays in the name (" + quoted(operand) + "), so tarnel_perl reports " +
                 quoted("invalid variable " + operand) + " and leaves this " + slot.mnemonic +
                 " out" + blankAdvice(blanks, tarnelText(slot)));
    offerBlankFix(diagnostic, blanks, name);
  }

  void checkVariableName(const VariableSlot& slot) {
    SourcePosition at = shifted(slot.position, 5);
    int width = widthOf(slot.name);
    if (slot.name.find(":=") != std::string::npos) return;  // a warning of its own
    if (slot.name.find(',') != std::string::npos) return;   // likewise
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

  // je or jne after a cmp of variable with 0: a note when input reads
  // variable anywhere.
  struct EndOfInput {
    StatementSlot jump;
    std::string variable;
  };

  CheckContext& context_;
  bool stopLabel_ = false;                       // a label "stop" of the program's own
  std::unordered_set<std::string> jumpTargets_;  // the names jumps name that Perl may take
  std::unordered_map<std::string, std::size_t> wordCounts_;  // wordPlaces's answers
  // Where the labels and jumps that Perl may take for its own words stand.
  std::unordered_map<std::string, std::vector<SourcePosition>> labelPlaces_;
  std::unordered_map<std::string, std::vector<SourcePosition>> jumpPlaces_;
  struct PerlLabel {
    std::string name;
    SourcePosition position;
  };
  std::vector<PerlLabel> labelSlots_;     // checked in finish
  std::vector<StatementSlot> stopJumps_;  // likewise
  std::vector<EndOfInput> endOfInput_;
  StatementSlot lastSlot_;  // tarnel's last statement so far
  StatementSlot carried_;   // tarnel's last instruction of the part before
  bool haveCarried_ = false;
  SlotsByLine assemblerSlots_;  // tarnel's, of the part visited
  // tarnel's instruction before the one on a line, labels passed over.
  SlotsByLine previousInstruction_;
  std::unordered_set<std::string> inputVariables_;  // the names input reads into
};

PerlChecks::PerlChecks(CheckContext& context) : checker_(std::make_unique<Checker>(context)) {}
PerlChecks::~PerlChecks() = default;
void PerlChecks::visit(const ProgramTables& tarnel, const ProgramTables& perl) {
  checker_->visit(tarnel, perl);
}
void PerlChecks::finish() { checker_->finish(); }
