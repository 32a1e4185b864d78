// Whole-file reading and clamped substrings for the loader.
#include "file_text.h"

#include <utility>

#include "input_file.h"

std::string readFileText(const std::string& path) {
  InputFile file = readInputFile(path);
  return file.status == InputStatus::Read ? std::move(file.text) : std::string();
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
