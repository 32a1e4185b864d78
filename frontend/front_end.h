// The source front end shared by tarnel and tarnel_perl: it reads a source
// file, normalises it, finds and checks its blocks, parses declarations and
// statements into ProgramTables, and then either ends with the error
// summary or hands the tables to the program's back end.
#pragma once

#include <functional>
#include <string>

#include "input_file.h"
#include "program_tables.h"

// Error lines written by reportError so far in this process; never reset.
extern int errorCount;

// Writes "error(N) " and the formatted text as one line and counts it.
// Reporting never stops anything: each caller decides what follows, so one
// run shows every error it can find.
void reportError(const char* format, ...) __attribute__((format(printf, 1, 2)));

struct FrontEndOptions {
  // tarnel only: collapse runs of blanks in the code block and strip the
  // blanks outside quotes from operands.
  bool collapseSpacing = true;
  // tarnel only: write the closing count line after the back end returns.
  bool summaryAfterBackEnd = true;
};

using BackEnd = std::function<void(const std::string& objectName, const ProgramTables& tables)>;

// Runs the whole front end on source, the file read from path by
// readSourceFile, and, when no error was counted, backEnd; writes the
// summary and pauses the console. A source that could not be read is
// reported as "cannot read PATH" and counted.
void compileSource(const std::string& path, InputFile& source, const FrontEndOptions& options,
                   const BackEnd& backEnd);
