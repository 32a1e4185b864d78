// The small text tests and rewrites of the running program's console.
#pragma once

#include <string>

// The text with backslash-n and backslash-t pairs replaced by a line feed
// and a tab, and every double quote dropped; any other byte, a backslash
// before anything else and a final backslash included, stays.
std::string expandEscapes(const std::string& text);

// True when the first byte is an ASCII letter; false for an empty text.
bool startsWithLetter(const std::string& text);
