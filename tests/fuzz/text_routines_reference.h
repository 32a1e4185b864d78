// The text routines and the line splitter written straight from their rules
// on std::string, without the shared working variables, to check the real
// ones against. Positions outside the text are clamped as the real routines
// clamp them.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace reference {

inline int clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

inline int length(const std::string& s) { return static_cast<int>(s.size()); }

inline std::string range(const std::string& s, int start, int stop) {
  int from = clamp(start, 0, length(s));
  int to = clamp(stop, 0, length(s));
  return to > from ? s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from))
                   : std::string();
}

inline std::string mid(const std::string& s, int start, int count) {
  int from = clamp(start, 0, length(s));
  return range(s, from, from + clamp(count, 0, length(s) - from));
}

inline std::string stripBlanks(const std::string& s) {
  std::string result;
  for (char c : s) {
    if (c != ' ') result += c;
  }
  return result;
}

// The whole pattern stands at p within the text; an empty pattern only at
// the text's end, where its terminator meets the text's.
inline bool patternAt(const std::string& text, const std::string& pattern, int p) {
  if (pattern.empty()) return p == length(text);
  return p + length(pattern) <= length(text) &&
         text.compare(static_cast<std::size_t>(p), pattern.size(), pattern) == 0;
}

inline int find(int start, const std::string& text, const std::string& pattern) {
  for (int p = std::max(start, 0); p < length(text); ++p) {
    if (patternAt(text, pattern, p)) return p;
  }
  return -1;
}

inline int findLast(int start, const std::string& text, const std::string& pattern) {
  for (int p = std::min(start, length(text)); p >= 0; --p) {
    if (patternAt(text, pattern, p)) return p;
  }
  return -1;
}

// The quote state starts outside at start and flips at each quote before
// the test; only the pattern's first byte must stand outside quotes, and
// only the pattern's bytes within the text are compared.
inline int findOutsideQuotes(int start, const std::string& text, const std::string& pattern) {
  if (pattern.empty()) return -1;
  bool outside = true;
  for (int p = std::max(start, 0); p < length(text); ++p) {
    if (text[static_cast<std::size_t>(p)] == '"') outside = !outside;
    if (!outside) continue;
    std::string within = range(text, p, p + length(pattern));
    if (pattern.compare(0, within.size(), within) == 0) return p;
  }
  return -1;
}

// n separators outside quotes give n + 1 pieces; none give no piece at all.
inline std::vector<std::string> split(const std::string& line, char separator) {
  std::vector<std::string> pieces;
  std::string piece;
  bool outside = true;
  for (char c : line) {
    if (c == '"') outside = !outside;
    if (c == separator && outside) {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (pieces.empty()) return pieces;
  pieces.push_back(piece);
  return pieces;
}

}  // namespace reference
