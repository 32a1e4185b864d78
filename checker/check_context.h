// What every check of the checker reads: the source lines as written, the
// front end's analysis of the text (the blocks, the declarations), the
// statements of the code block as tarnel parses them (blanks collapsed) and
// as tarnel_perl does, and the list the checks add their diagnostics to.
//
// A program may have a million lines, so the statements are never held all
// at once: forEachStatementChunk hands them over a few thousand lines at a
// time, and the checks keep what they need of them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "diagnostic.h"
#include "front_end.h"
#include "mnemonics.h"
#include "source_analysis.h"
#include "source_position.h"

class CheckContext {
 public:
  // About this many lines of statements are parsed at a time: enough to
  // keep the parser's own work per call small, few enough to keep memory
  // flat however long the program.
  static constexpr std::size_t kChunkLines = 4096;

  // chunkLines other than kChunkLines serve the tests of the parts' seams.
  explicit CheckContext(const std::string& source, std::size_t chunkLines = kChunkLines);

  // The front end's analysis: the normalised text, the blocks, the
  // variables. Its tables hold no statements (see forEachStatementChunk);
  // the declarations read the same for tarnel and tarnel_perl.
  const SourceAnalysis& assembler() const { return analysis_; }
  // The errors the front end reported on tarnel's run, in order, those of
  // the statements' back end not included.
  const std::vector<ReportedError>& frontEndErrors() const { return frontEndErrors_; }

  // Calls visit with the statements of the code block, part after part in
  // order, parsed as tarnel and as tarnel_perl parse them: the two tables
  // of one call hold the same lines, and together the parts hold what the
  // parser makes of the whole block. A part whose every line reads alike
  // for both (no blank more than the one after the mnemonic, no indented
  // label, no line of blanks) is parsed once and passed as both. Nothing
  // when the code block was not found.
  using ChunkVisitor = std::function<void(const ProgramTables& tarnel, const ProgramTables& perl)>;
  void forEachStatementChunk(const ChunkVisitor& visit) const;

  int lineCount() const { return static_cast<int>(writtenStarts_.size()); }
  // Line n (from 1) as written, without its line end; empty outside the
  // text.
  std::string writtenLine(int line) const;
  // Line n of the normalised text (lower case, comment removed), without
  // CR or LF. Its bytes stand at the same columns as in the written line.
  std::string normalisedLine(int line) const;

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
  // The same lookup as tarnel_perl makes it: its declarations read alike.
  const VariableSlot* perlVariable(const std::string& name) const { return variable(name); }
  // True when the bytecode file declares name: a variable of the program,
  // or the con0 that tarnel adds to every file.
  bool declares(const std::string& name) const;

  // The operands of tarnel's statements, and those a statement was meant
  // to have where tarnel reads it otherwise (its last character cut, or
  // written after a label): a variable none of them names is unused.
  void markUse(const std::string& operand) { uses_.insert(operand); }
  bool isUsed(const std::string& name) const { return uses_.count(name) != 0; }

  // Names that a declaration tarnel rejects was meant to declare, with its
  // line: a use of one is explained by that line, not as a name nobody
  // declared.
  void markRejectedName(const std::string& name, int line) { rejectedNames_.emplace(name, line); }
  // The line of the rejected declaration of name; 0 when there is none.
  int rejectedDeclarationLine(const std::string& name) const;

  // Lines whose statement lost its last character, reported once: the
  // Perl notes leave what follows from that alone.
  void markCutLine(int line) { cutLines_.insert(line); }
  bool isCutLine(int line) const { return cutLines_.count(line) != 0; }

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

  std::size_t chunkLines_;
  std::string written_;                     // the text as read, bare line feeds made CR LF
  std::vector<std::size_t> writtenStarts_;  // offsets of its lines
  SourceAnalysis analysis_;
  std::vector<ReportedError> frontEndErrors_;
  std::vector<std::size_t> lineStarts_;  // offsets of the normalised lines
  std::unordered_map<std::string, const VariableSlot*> variables_;
  std::unordered_set<std::string> uses_;
  std::unordered_map<std::string, int> rejectedNames_;
  std::unordered_set<int> cutLines_;
  std::vector<Diagnostic> diagnostics_;
  std::vector<std::size_t> firsts_;  // indices into diagnostics_
};

// The statement slots of one part of the code block by their lines: a part
// covers a stretch of consecutive lines, so a vector does what a map would.
class SlotsByLine {
 public:
  // Indexes the slots in use of tables; nothing else stays indexed.
  void fill(const ProgramTables& tables);
  // Indexes slot at line, a line of the stretch fill covered.
  void set(int line, const StatementSlot* slot);
  // The slot at line; nullptr when there is none.
  const StatementSlot* at(int line) const;

 private:
  int first_ = 0;
  std::vector<const StatementSlot*> slots_;
};

// The mnemonic text names, as lookupMnemonic finds it, by one hash look-up
// (the checks ask for every statement, some more than once); nullptr for
// any other text.
const Mnemonic* mnemonicNamed(const std::string& text);

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
