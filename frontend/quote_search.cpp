// Quote-aware search and split; see quote_search.h.
#include "quote_search.h"

#include "token_list.h"

long findUnquotedAfter(long pos, const std::string& text, const std::string& pattern) {
  if (pattern.empty()) return -1;
  std::size_t first = pos < -1 ? 0 : static_cast<std::size_t>(pos + 1);
  bool outside = true;
  for (std::size_t i = first; i < text.size(); ++i) {
    if (text[i] == '"') outside = !outside;
    // The first byte decides most positions without a full comparison.
    if (outside && text[i] == pattern[0] && text.size() - i >= pattern.size() &&
        text.compare(i, pattern.size(), pattern) == 0) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

std::vector<std::string> splitOutsideQuotes(const std::string& text, char separator) {
  TokenList list;
  list.split(text.c_str(), separator);
  std::vector<std::string> pieces;
  pieces.reserve(static_cast<std::size_t>(list.count()));
  for (int i = 0; i < list.count(); ++i) pieces.emplace_back(list.at(i));
  return pieces;
}
