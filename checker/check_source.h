// The checker: every problem of a source program, found by running the
// front end of tarnel and tarnel_perl on the text and reading its results.
//
// checkSource takes the text as it is held in memory, in an editor or as
// read from a file (LF or CR LF line ends), and returns the diagnostics in
// the order of their places. It writes nothing, changes no global state
// and touches no file, so it may run after every edit, on any thread.
//
// Lines and columns count the bytes given: an editor passes its text in
// the encoding it saves it in and turns a column and length into
// characters of that line (for UTF-8, the characters of its first
// column - 1 bytes). A leading extra line end, as the editor saves files,
// only moves every line number by one.
#pragma once

#include <string>
#include <vector>

#include "diagnostic.h"

std::vector<Diagnostic> checkSource(const std::string& source);
