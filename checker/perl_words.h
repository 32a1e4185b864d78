// Words the Perl translation cannot use as tarnel uses them: labels that
// Perl reads as its own operators or functions, and names that are no
// Perl names at all. Only lower-case words matter, since the front end
// lower-cases the whole source.
#pragma once

#include <string>

// Perl's quote-like operators (y, s, q, m, ...): a line "y:" already stops
// the script from compiling.
bool isPerlQuoteOperator(const std::string& word);

// Words that "goto word;" does not take as a label: Perl runs its own
// function or keyword of that name instead (next, print, time, ...).
bool isPerlReservedWord(const std::string& word);

// A letter or "_", then letters, digits and "_": a name Perl accepts for a
// label or after the "$" of a variable.
bool isPerlName(const std::string& word);
