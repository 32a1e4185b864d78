// The checker: every problem of a source program, found by running the
// front end of tarnel and tarnel_perl on the text and reading its results.
//
// checkSource takes the text as it is held in memory, in an editor or as
// read from a file (LF or CR LF line ends), and returns the diagnostics in
// the order of their places. It writes nothing, changes no global state
// and touches no file, so it may run after every edit. One call at a time
// per thread.
#pragma once

#include <string>
#include <vector>

#include "diagnostic.h"

std::vector<Diagnostic> checkSource(const std::string& source);
