// A program made ready for the debugger, from text in memory: the bytecode
// text its records are loaded from and, for a source program, the source
// line every record came from, with the source's own lines to show.
// Nothing here reads or writes a file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct DebugProgram {
  // The name the program is shown by ("sum.tarnel", a path, "Untitled");
  // "break FILE:LINE" accepts it and its last path component.
  std::string path;
  bool fromSource = false;  // a source program assembled in memory
  std::string bytecode;     // the text Interpreter::loadText reads
  // One per record of the loaded code table: the source line it came from,
  // counted from 1; 0 when it has none (every record of a bytecode file).
  // The closing records every program ends with (the label "stop" and the
  // halt) have the line of the code block's closing brace.
  std::vector<int> recordLines;
  // The source's lines as given, without their line ends; line n is
  // sourceLines[n - 1]. Empty for a bytecode file.
  std::vector<std::string> sourceLines;
};

// A name stands for a bytecode file when it ends in ".kiv", in any case;
// any other is taken as a source program.
bool isBytecodePath(const std::string& path);

// Assembles source (a source file's bytes) in memory exactly as tarnel
// does, writing nothing. messages receives the error lines tarnel writes,
// without their line ends, numbered from 1: "error(1) invalid instruction
// [ret]" (a carriage return the line held is left out). When the front end
// finds errors, the last line is " assembled with (N) error(s) ", no
// bytecode is made and the result is false. Otherwise the result is true;
// an unknown instruction is reported and left out, and the program runs
// without it, as under tarnel.
bool assembleProgram(const std::string& path, std::string source, DebugProgram& program,
                     std::vector<std::string>& messages);

// A bytecode file's text as a program to debug; its records have no lines.
DebugProgram bytecodeProgram(const std::string& path, std::string bytecode);

// Where a written code entry begins in the bytecode text, and the source
// line of the statement it was written for.
struct EntryLine {
  std::size_t offset;
  int line;
};

// The source line of every record that the bytecode text loads into:
// the line of the entry in which the record's piece begins. entries are in
// text order; a piece that begins before the first of them has no line,
// and one that begins at or after end (where the closing entries stand)
// gets closingLine.
std::vector<int> recordLinesOf(const std::string& bytecode, const std::vector<EntryLine>& entries,
                               std::size_t end, int closingLine = 0);
