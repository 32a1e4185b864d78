// Searching and splitting that leave double-quoted stretches alone.
//
// A double quote opens or closes a quoted stretch, with no escape character;
// a pattern or separator that stands between quotes is not seen.
#pragma once

#include <string>
#include <vector>

// The first position after pos, outside double quotes, at which the whole
// of pattern stands within text; -1 when there is none. The quote state
// starts outside at pos + 1 whatever precedes it, and flips at every double
// quote examined, one at the tested position included, before the test. A
// search from the start of the text passes pos = -1. An empty pattern is
// never found.
long findUnquotedAfter(long pos, const std::string& text, const std::string& pattern);

// The pieces of text as TokenList cuts them: at every separator that stands outside double
// quotes: n separators give n + 1 pieces, the last being whatever follows
// the last separator, so empty pieces count. A text holding no such
// separator gives no piece at all. Quotes stay in the pieces as they stand.
std::vector<std::string> splitOutsideQuotes(const std::string& text, char separator);
