// In-place edits of one declaration or statement line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Removes every CR and LF.
void stripLineBreaks(std::string& text);

// Outside double quotes, drops every blank that another blank follows, so
// each run of blanks (indentation included) shrinks to one; quoted text is
// untouched.
void collapseSpaces(std::string& text);

// collapseSpaces that also fills origins with, for every byte of the
// result, the offset that byte had in the text before, and one entry more:
// the old length, the place just after the last byte.
void collapseSpaces(std::string& text, std::vector<std::size_t>& origins);

// Removes every blank outside double quotes; the quotes and what stands
// between them stay.
void stripUnquotedSpaces(std::string& text);

// The position of the first byte that is not a blank (0x20), or -1.
long firstNonSpace(const std::string& text);
