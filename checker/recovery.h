// Reading on after a brace or block error. tarnel stops at the first
// structural error, so one missing "}" hides every other problem of the
// program. The checker instead repairs a copy of the text where it most
// likely went wrong (a "}" before the next block keyword or at the end of
// the file, a stray brace left out, a quote closed at the end of its line,
// a missing header or var block added), as often as it takes, runs every
// check on the copy and reports what it finds in the places of the text
// as written.
#pragma once

#include <vector>

#include "check_context.h"

// The diagnostics found in the repaired copy of context's text, in the
// places of that text, leaving out those already reported (in reported)
// and those on lines the repairs added. Those from the first repaired
// line on are marked afterRecovery, with a note at error (the structural
// error) that says what the checker assumed; their fixes become
// suggestions. Empty when the checker cannot tell what was meant.
std::vector<Diagnostic> diagnosticsAfterRecovery(const CheckContext& context,
                                                 const std::vector<Diagnostic>& reported,
                                                 const Diagnostic& error);
