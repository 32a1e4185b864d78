// What the debugger shows of a loaded program: every record in the form a
// learner writes it, the source line it came from, and the places that
// breakpoints and listings name (a source line, a label, #N for a record).
#pragma once

#include <string>
#include <vector>

#include "code_table.h"
#include "debug_program.h"

struct RecordInfo {
  int opcode = 0;     // as the engine reads the opcode text
  std::string label;  // a label record's name
  int line = 0;       // the source line from 1; 0 when there is none
  // The instruction as written in a source program: "add total,number",
  // "jg top", "halt"; a label record as "top:"; another opcode number as
  // "57!a:b (passed over)". Control bytes are written as \xHH.
  std::string instruction;
};

// A place named in a command: the record it stands for, or why there is
// none. note, when set, is a warning that comes with a valid place: an
// indented label, which the program's own jumps never reach.
struct PlaceResult {
  int record = -1;
  std::string problem;
  std::string note;
};

class ProgramMap {
 public:
  // recordLines as DebugProgram holds them; a missing entry counts as no line.
  ProgramMap(const CodeTable& code, const DebugProgram& program);

  int count() const { return static_cast<int>(records_.size()); }
  // index must lie in 0 to count() - 1.
  const RecordInfo& record(int index) const { return records_[static_cast<std::size_t>(index)]; }
  bool fromSource() const { return fromSource_; }
  int lineCount() const { return static_cast<int>(lines_.size()); }
  // line must lie in 1 to lineCount().
  const std::string& lineText(int line) const { return lines_[static_cast<std::size_t>(line - 1)]; }
  // The source line of the record at position; 0 outside the table or
  // without one.
  int lineAt(int position) const;

  // The first record at or after index that is not a label record, as the
  // engine passes them over; count() when there is none.
  int instructionFrom(int index) const;

  // "#4 (line 9): inc coun", "#4: dec count", or for a position past the
  // last record "#12: the end of the program".
  std::string describe(int position) const;

  // The record that a breakpoint at place stops before:
  //   "#N"     record N, or the first instruction after it when it is a
  //            label record;
  //   digits   a source line: the first record of that line, or of the
  //            next line that has one, label records passed over as
  //            above (so the code block's closing brace, and the lines
  //            between the last instruction and it, stand for the halt);
  //            in a bytecode file, which has no lines, record N;
  //   FILE:LINE  the same line, FILE being the program's path or its last
  //            path component;
  //   a name   the first label record of that name, or else of that name
  //            once the label's blanks around it are dropped (an indented
  //            label keeps one, and the note says so) and, in a source
  //            program, whatever case place is written in; then the first
  //            instruction after it.
  PlaceResult resolve(const std::string& place) const;
  // resolve for a source line number (a record number in a bytecode file).
  PlaceResult resolveLine(int line) const;

 private:
  PlaceResult resolveRecord(const std::string& digits) const;
  PlaceResult resolveLineText(const std::string& digits) const;  // digits, or "-" and digits
  PlaceResult resolveLabel(const std::string& name) const;

  std::vector<RecordInfo> records_;
  std::vector<std::string> lines_;
  std::string path_;
  bool fromSource_ = false;
};

// The decimal number that text is, when it is nothing but digits and at most
// limit; false otherwise.
bool parseCount(const std::string& text, unsigned long long limit, unsigned long long& value);
