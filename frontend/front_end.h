// The source front end shared by tarnel and tarnel_perl: it reads a source
// file, normalises it, finds and checks its blocks, parses declarations and
// statements into ProgramTables, and then either ends with the error
// summary or hands the tables to the program's back end.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "input_file.h"
#include "program_tables.h"
#include "source_position.h"

// Error lines written by reportError so far in this process; never reset.
extern int errorCount;

// Writes "error(N) " and the formatted text as one line and counts it.
// Reporting never stops anything: each caller decides what follows, so one
// run shows every error it can find.
void reportError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// reportError for a fault of one source line: the line written is the same,
// and a capture (below) also keeps where the fault stands.
void reportErrorAt(SourcePosition position, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

struct ReportedError {
  std::string text;         // the formatted text, without "error(N) "
  SourcePosition position;  // unknown for reportError
};

// While an ErrorCapture lives, reportError and reportErrorAt on its thread
// keep their texts in it instead of writing a line, and errorCount does not
// change. So the front end can be run on a text in memory any number of
// times, silently, by a program that reports in its own words. Captures
// nest: the newest one takes the texts.
class ErrorCapture {
 public:
  ErrorCapture();
  ~ErrorCapture();
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  const std::vector<ReportedError>& errors() const { return errors_; }
  void add(ReportedError error) { errors_.push_back(std::move(error)); }

 private:
  ErrorCapture* previous_;
  std::vector<ReportedError> errors_;
};

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
