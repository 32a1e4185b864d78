// The JSON form of diagnostics, for editors, web pages and CI systems: one
// document for every file of a run. tarnel_check(1) documents the schema;
// in short:
//
//   {"version": 1,
//    "files": [{"path": "a.tarnel",
//               "fixed": [{"line": 8, "column": 9, "description": "..."}],
//               "diagnostics": [{"line": 8, "column": 9, "length": 1,
//                                "severity": "warning", "message": "...",
//                                "afterRecovery": false,
//                                "notes": [{"line": .., "column": .., "length": .., "message":
//                                ".."}], "fixes": [{"description": "...", "safe": true,
//                                           "edits": [{"line": .., "column": .., "length": ..,
//                                                      "replacement": ".."}]}]}]},
//              {"path": "gone.tarnel", "error": "cannot read: No such file or directory"}],
//    "summary": {"errors": 0, "warnings": 1, "notes": 0, "files": 1}}
//
// Positions count from 1 in bytes, as in the text output. "fixed" appears
// only after --fix; "error" only for a file that could not be read (it then
// has no "diagnostics") or, after --fix, written (its diagnostics are those
// of the file as it stayed).
//
// The document is UTF-8, and its strings hold the bytes of the source: a
// well-formed UTF-8 character stands as it is; a byte that is not part of
// one (a Latin-1 letter, say) is written as the escape \udcXX, XX being
// the byte: a lone low surrogate, as Python's "surrogateescape" writes it,
// so that no byte is lost or taken for another character and a reader can
// turn an edit's replacement back into the exact bytes. Quotes,
// backslashes and control bytes (DEL included) are escaped.
#pragma once

#include <string>
#include <vector>

#include "diagnostic.h"
#include "fix_apply.h"

struct FileReport {
  std::string path;
  std::vector<Diagnostic> diagnostics;
  std::vector<AppliedFix> fixed;  // what --fix made, if it ran
  bool unreadable = false;        // no diagnostics: the file could not be read
  std::string error;              // why the file could not be read or written
};

// The whole document, ending in a line end.
std::string jsonReport(const std::vector<FileReport>& files);

// bytes as a JSON string, quotes included, escaped as described above.
void appendJsonString(std::string& out, const std::string& bytes);
