// One problem found in a source program: where it stands, how grave it is,
// what to do about it, and the repairs that can be made for the writer.
//
// Lines count from 1; columns count from 1 in bytes of the text as given;
// a range covers length bytes of its line from there (at least one) and
// never runs past the line's last byte, its line end not counted (a range
// on an empty line, or just past a line's last byte, covers that one place).
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

// One change to the text: length bytes of line from column are replaced by
// replacement. length 0 inserts before column, which may stand just past
// the line's last byte (column = the line's length + 1, before its line
// end). The bytes named always lie within one line, its line end excluded.
// A "\n" in replacement breaks the line there: it is written as the line
// end of the line the edit stands on (CR LF or LF, as the text has it), so
// a fix keeps a file's line ends whatever they are.
struct FixEdit {
  int line = 0;
  int column = 0;
  int length = 0;
  std::string replacement;
};

// A mechanical repair of a diagnostic: edits in the positions of the text
// the diagnostic was found in (applyFixes in fix_apply.h makes them).
struct FixIt {
  // What the fix does, in the words of a menu entry after "Fix: ", such as
  // "remove the blank after the comma".
  std::string description;
  // Safe: the fix changes only what the writer evidently meant (blanks,
  // tabs, line breaks, where a comment or a brace stands, a name renamed
  // with every use of it), so that tarnel runs the program as written
  // (what it ran as written before stays the same) and tarnel_perl runs it
  // as tarnel does. tarnel_check --fix applies safe fixes only.
  // Otherwise the fix is a suggestion: it changes what the program does,
  // or guesses at what was meant, and a person decides.
  bool safe = false;
  std::vector<FixEdit> edits;  // none of them overlap
};

struct Diagnostic {
  int line = 0;
  int column = 0;
  int length = 1;
  Severity severity = Severity::Error;
  std::string message;
  std::vector<DiagnosticNote> notes;
  std::vector<FixIt> fixes;
  // Found only after the checker assumed where a block ends that tarnel
  // could not find (a brace or block error): it may be a consequence of
  // that error and go away with it. A note names the error.
  bool afterRecovery = false;
};
