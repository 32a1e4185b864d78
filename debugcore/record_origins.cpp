// recordOrigins: the loader's cuts of the code section, retraced.
#include "record_origins.h"

#include <string_view>

#include "text_routines.h"

namespace {

// The first position at or after from where c stands outside quotes, the
// quote state starting outside at from; npos when there is none.
std::size_t findOutsideQuotes(std::string_view text, std::size_t from, char c) {
  bool outside = true;
  for (std::size_t p = from; p < text.size(); ++p) {
    if (text[p] == '"') outside = !outside;
    if (outside && text[p] == c) return p;
  }
  return std::string_view::npos;
}

bool makesRecord(std::string_view piece) {
  if (findOutsideQuotes(piece, 0, '@') != std::string_view::npos) return true;
  std::size_t bang = findOutsideQuotes(piece, 0, '!');
  return bang != std::string_view::npos &&
         findOutsideQuotes(piece, bang + 1, ':') != std::string_view::npos;
}

}  // namespace

std::vector<std::size_t> recordOrigins(const std::string& text) {
  std::vector<std::size_t> origins;
  // The loader reads the text up to its first NUL byte.
  const char* bytes = text.c_str();
  const std::string_view whole(bytes);
  const int begin = textFindOutsideQuotes(0, bytes, "code{");
  if (begin < 0) return origins;
  const int end = textFindOutsideQuotes(begin + 1, bytes, "}");
  if (end < 0) return origins;
  const std::size_t from = static_cast<std::size_t>(begin) + 5;
  std::size_t to = static_cast<std::size_t>(end);
  if (to > whole.size()) to = whole.size();
  if (to <= from) return origins;
  const std::string_view content = whole.substr(from, to - from);
  if (findOutsideQuotes(content, 0, ',') == std::string_view::npos) return origins;

  bool outside = true;
  std::size_t start = 0;
  for (std::size_t p = 0; p <= content.size(); ++p) {
    const bool last = p == content.size();
    if (!last && content[p] == '"') outside = !outside;
    if (last || (outside && content[p] == ',')) {
      if (makesRecord(content.substr(start, p - start))) origins.push_back(from + start);
      start = p + 1;
    }
  }
  return origins;
}
