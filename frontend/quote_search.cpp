// Quote-aware search and split; see quote_search.h.
#include "quote_search.h"

long findUnquotedAfter(long pos, const std::string& text, const std::string& pattern) {
  if (pattern.empty()) return -1;
  std::size_t first = pos < -1 ? 0 : static_cast<std::size_t>(pos + 1);
  bool outside = true;
  for (std::size_t i = first; i < text.size(); ++i) {
    if (text[i] == '"') outside = !outside;
    if (outside && text.size() - i >= pattern.size() &&
        text.compare(i, pattern.size(), pattern) == 0) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

std::vector<std::string> splitOutsideQuotes(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  bool outside = true;
  for (std::size_t p = 0; p < text.size(); ++p) {
    if (text[p] == '"') outside = !outside;
    if (outside && text[p] == separator) {
      pieces.push_back(text.substr(start, p - start));
      start = p + 1;
    }
  }
  if (pieces.empty()) return pieces;
  pieces.push_back(text.substr(start));
  return pieces;
}
