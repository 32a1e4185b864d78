// Escape expansion for print, and the letter test that tells an unresolved
// label name from a code position.
#include "escapes.h"

std::string expandEscapes(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 't')) {
      result += text[i + 1] == 'n' ? '\n' : '\t';
      ++i;
    } else if (c != '"') {
      result += c;
    }
  }
  return result;
}

bool startsWithLetter(const std::string& text) {
  if (text.empty()) return false;
  char c = text[0];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
