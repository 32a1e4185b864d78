// The console form of diagnostics, as compilers write them and editors and
// CI systems read them:
//
//   FILE:LINE:COLUMN: warning: message
//   <the source line>
//   <blanks>^~~~
//
// then each fix-it of the diagnostic, as the lines it touches will read:
//
//   fix: put a blank before the ";"
//        8 | inc count ;note
//
// ("suggestion:" for a fix that is no safe one), then the notes of the
// diagnostic in the form of the first line, and one summary line for a
// whole run.
#pragma once

#include <string>
#include <vector>

#include "diagnostic.h"

// The lines for every diagnostic of one file. source is the file's text,
// from which the lines are shown.
std::string formatDiagnostics(const std::string& fileName, const std::string& source,
                              const std::vector<Diagnostic>& diagnostics);

// The caret line under line for a range of length bytes from column: a
// tab in line before the range stays a tab, every other character becomes
// a blank (a UTF-8 character one blank, not one per byte); the range is
// "^" then "~", cut at the end of the line but never shorter than "^".
std::string caretLine(const std::string& line, int column, int length);

struct CheckTotals {
  int errors = 0;
  int warnings = 0;
  int notes = 0;  // notes of their own, not those attached to a diagnostic
  int files = 0;
};

void count(const std::vector<Diagnostic>& diagnostics, CheckTotals& totals);

// "1 error, 2 warnings and 0 notes in 1 file"
std::string summaryLine(const CheckTotals& totals);
