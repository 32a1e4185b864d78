// A program made ready for the debugger: the bytecode text its records are
// loaded from and, for a source program, the source line every record came
// from, with the source file's own lines to show.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

struct DebugProgram {
  std::string path;         // as named on the command line
  bool fromSource = false;  // a source program assembled in memory
  std::string bytecode;     // the text Interpreter::loadText reads
  // One per record of the loaded code table: the source line it came from,
  // counted from 1; 0 when it has none (the closing records, or every record
  // of a bytecode file).
  std::vector<int> recordLines;
  // The source file's lines as read, without their line ends; line n is
  // sourceLines[n - 1]. Empty for a bytecode file.
  std::vector<std::string> sourceLines;
};

// A path names a bytecode file when it ends in ".kiv"; any other is taken as
// a source program.
bool isBytecodePath(const std::string& path);

// Reads the file at path, once, and makes it ready. A bytecode file that
// cannot be read is refused in kivinterp's words, a source file in
// tarnel's, on standard output; a source program is assembled by
// assembleSource. False when the run must not start.
bool loadDebugProgram(const std::string& path, DebugProgram& program);

// Assembles source (a source file's bytes as read) in memory, as tarnel
// does: the front end's errors go through reportError, numbered, then
// " assembled with (N) error(s) " is written to out and false is returned;
// no bytecode is made. Otherwise the bytecode writer makes the text,
// reporting and leaving out every unknown mnemonic, and every record gets
// the line of the statement its piece of text was written for.
bool assembleSource(std::string source, DebugProgram& program, std::ostream& out);

// Where a written code entry begins in the bytecode text, and the source
// line of the statement it was written for.
struct EntryLine {
  std::size_t offset;
  int line;
};

// The source line of every record that the bytecode text loads into:
// the line of the entry in which the record's piece begins. entries are in
// text order; a piece that begins before the first of them, or at or after
// end (where the closing entries stand), has no line.
std::vector<int> recordLinesOf(const std::string& bytecode, const std::vector<EntryLine>& entries,
                               std::size_t end);
