// Reading a bytecode file whole, and the clamped cuts the loader makes in it.
#pragma once

#include <string>

// The file's bytes, read once; empty when it cannot be opened or read
// whole, or is too large.
std::string readFileText(const std::string& path);

// The bytes of s from start up to but not including end. Positions are
// clamped to the text, so a cut that a missing marker left without extent
// gives the empty text (or the rest) instead of reading past the end.
std::string substring(const std::string& s, int start, int end);
std::string leftPart(const std::string& s, int n);
std::string rightPart(const std::string& s, int start);
