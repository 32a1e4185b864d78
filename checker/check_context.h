// What every check of the checker reads: the source lines as written, the
// front end's analysis of the text as tarnel runs it (blanks collapsed) and
// as tarnel_perl runs it, and the list the checks add their diagnostics to.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "diagnostic.h"
#include "front_end.h"
#include "source_analysis.h"
#include "source_position.h"

class CheckContext {
 public:
  explicit CheckContext(const std::string& source);

  const SourceAnalysis& assembler() const { return assembler_; }
  const SourceAnalysis& perl() const { return perl_; }
  // The errors the front end reported on tarnel's run, in order.
  const std::vector<ReportedError>& frontEndErrors() const { return frontEndErrors_; }

  int lineCount() const { return static_cast<int>(written_.size()); }
  // Line n (from 1) as written, without its line end; empty outside the
  // text.
  const std::string& writtenLine(int line) const;
  // Line n of the normalised text (lower case, comment removed), without
  // CR or LF. Its bytes stand at the same columns as in the written line.
  const std::string& normalisedLine(int line) const;

  // The byte of the normalised text at position; '\0' where there is none
  // (past the end of its line or of the text).
  char normalisedByte(SourcePosition position) const;
  // The offset into the normalised text of position.
  std::size_t offsetOf(SourcePosition position) const;
  SourcePosition positionOf(long offset) const;
  // The bytes of the normalised text a parser saw from position: up to the
  // line feed, or up to blockClose (an offset) when that comes first. A CR
  // line end stays in them.
  std::string lineFrom(SourcePosition position, long blockClose) const;
  // Just after the last byte of the last line that holds more than blanks.
  SourcePosition endOfText() const;

  // The first variable tarnel declares with name, as kivinterp finds it;
  // nullptr when there is none.
  const VariableSlot* variable(const std::string& name) const;
  // The same lookup in tarnel_perl's tables.
  const VariableSlot* perlVariable(const std::string& name) const;
  // True when the bytecode file declares name: a variable of the program,
  // or the con0 that tarnel adds to every file.
  bool declares(const std::string& name) const;

  // Operands a statement was meant to have where tarnel reads it otherwise
  // (its last character cut, or written after a label); such a use is
  // reported where it stands, and the variable not again as unused.
  void markMeantUse(const std::string& operand) { meantUses_.push_back(operand); }
  const std::vector<std::string>& meantUses() const { return meantUses_; }

  // Names that a declaration tarnel rejects was meant to declare, with its
  // line: a use of one is explained by that line, not as a name nobody
  // declared.
  void markRejectedName(const std::string& name, int line) { rejectedNames_.emplace(name, line); }
  // The line of the rejected declaration of name; 0 when there is none.
  int rejectedDeclarationLine(const std::string& name) const;

  // Lines whose statement lost its last character, reported once: the
  // Perl notes leave what follows from that alone.
  void markCutLine(int line) { cutLines_.push_back(line); }
  bool isCutLine(int line) const;

  // A diagnostic or note at length bytes from position, its range cut to
  // end at its line's last byte (see diagnostic.h).
  Diagnostic& add(Severity severity, SourcePosition position, int length, std::string message);
  void attach(Diagnostic& diagnostic, SourcePosition position, int length,
              std::string message) const;
  // Puts diagnostic, just added, before all others: a problem that makes
  // every other one moot.
  void markFirst(const Diagnostic& diagnostic);
  // Moves and cuts a range so that it lies inside its line of this text.
  void placeInside(int& line, int& column, int& length) const;
  // True when every edit of fix names bytes of one line of this text.
  bool fits(const FixIt& fix) const;
  // A fix of diagnostic, to which edit adds the edits.
  static FixIt& offerFix(Diagnostic& diagnostic, std::string description, bool safe);
  static void edit(FixIt& fix, SourcePosition position, int length, std::string replacement);
  // The diagnostics added, those marked first at the front, the others in
  // the order of their places (an error before a warning before a note at
  // the same place).
  std::vector<Diagnostic> takeDiagnostics();

 private:
  // The range from position, length bytes long, moved and cut so that it
  // lies inside its line.
  void clampRange(SourcePosition& position, int& length) const;

  SourceAnalysis assembler_;
  SourceAnalysis perl_;
  std::vector<ReportedError> frontEndErrors_;
  std::vector<std::string> written_;
  std::vector<std::string> normalised_;
  std::vector<std::size_t> lineStarts_;  // offsets of the normalised lines
  std::unordered_map<std::string, const VariableSlot*> variables_;
  std::unordered_map<std::string, const VariableSlot*> perlVariables_;
  std::vector<std::string> meantUses_;
  std::unordered_map<std::string, int> rejectedNames_;
  std::vector<int> cutLines_;
  std::vector<Diagnostic> diagnostics_;
  std::vector<std::size_t> firsts_;  // indices into diagnostics_
};

// Text helpers for messages.

// text between double quotes, a CR or LF in it written as \r or \n, as a
// word that holds a line break is shown.
std::string quoted(const std::string& text);
// The bytes of text from begin, at most length of them; empty when begin
// lies past its end.
std::string part(const std::string& text, std::size_t begin,
                 std::size_t length = std::string::npos);
// text without the blanks and tabs at either end.
std::string trimmed(const std::string& text);
// The number of bytes of text, as a column count.
int widthOf(const std::string& text);
// position moved by columns along its line.
SourcePosition shifted(SourcePosition position, int columns);
