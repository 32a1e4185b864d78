// Whole-file reading and clamped substrings for the loader.
#include "file_text.h"

#include <fstream>

std::string readFileText(const std::string& path) {
  std::string text;
  std::ifstream in(path);
  char c = 0;
  while (in.get(c)) text += c;
  return text;
}

std::string substring(const std::string& s, int start, int end) {
  const int length = static_cast<int>(s.size());
  if (start < 0) start = 0;
  if (end > length) end = length;
  if (end <= start) return std::string();
  return s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

std::string leftPart(const std::string& s, int n) { return substring(s, 0, n); }

std::string rightPart(const std::string& s, int start) {
  return substring(s, start, static_cast<int>(s.size()));
}
