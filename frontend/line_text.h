// In-place edits of one declaration or statement line.
#pragma once

#include <string>

// Removes every CR and LF.
void stripLineBreaks(std::string& text);

// Outside double quotes, drops every blank that another blank follows, so
// each run of blanks (indentation included) shrinks to one; quoted text is
// untouched.
void collapseSpaces(std::string& text);

// Removes every blank outside double quotes; the quotes and what stands
// between them stay.
void stripUnquotedSpaces(std::string& text);

// The position of the first byte that is not a blank (0x20), or -1.
long firstNonSpace(const std::string& text);
