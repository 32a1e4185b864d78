// One problem found in a source program: where it stands, how grave it is
// and what to do about it.
//
// Lines count from 1; columns count from 1 in bytes of the text as given;
// a range covers length bytes of its line from there (at least one).
#pragma once

#include <string>
#include <vector>

enum class Severity {
  Error,    // tarnel counts it and writes no bytecode, or leaves the line out
  Warning,  // the program runs, but not as written
  Note,     // tarnel_perl translates the line differently from tarnel
};

// A place that explains a diagnostic, such as the first of two
// declarations.
struct DiagnosticNote {
  int line = 0;
  int column = 0;
  int length = 1;
  std::string message;
};

struct Diagnostic {
  int line = 0;
  int column = 0;
  int length = 1;
  Severity severity = Severity::Error;
  std::string message;
  std::vector<DiagnosticNote> notes;
};
