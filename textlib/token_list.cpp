// Quote-aware splitting of one line; see token_list.h.
#include "token_list.h"

#include <vector>

#include "text_routines.h"

namespace {

// Copies positions from up to but not including to, both known to lie
// within the line, into scratch. Copying directly rather than through
// textRange keeps a split linear: textRange measures the whole line first.
void copyPiece(const char* line, int from, int to, std::vector<char>& scratch) {
  int length = to - from;
  for (int i = 0; i < length; ++i) scratch[static_cast<std::size_t>(i)] = line[from + i];
  scratch[static_cast<std::size_t>(length)] = '\0';
}

}  // namespace

void Token::assign(const char* text) {
  text_.reset(new char[textLength(text) + 1]);
  textCopy(text_.get(), text);
}

int TokenList::countSeparators(const char* line, char separator) {
  int separators = 0;
  bool outside = true;
  for (int p = 0; line[p] != '\0'; ++p) {
    if (line[p] == '"') outside = !outside;
    if (line[p] == separator && outside) ++separators;
  }
  return separators;
}

void TokenList::split(const char* line, char separator) {
  start_ = 0;
  count_ = 0;
  items_.reset();
  int separators = countSeparators(line, separator);
  if (separators == 0) return;

  items_.reset(new Token[separators + 1]);
  std::vector<char> piece(static_cast<std::size_t>(textLength(line)) + 1);
  bool outside = true;
  for (int p = 0; line[p] != '\0'; ++p) {
    if (line[p] == '"') outside = !outside;
    if (line[p] == separator && outside) {
      copyPiece(line, start_, p, piece);
      items_[count_++].assign(piece.data());
      start_ = p + 1;
    }
  }
  textFrom(line, piece.data(), start_);
  items_[count_++].assign(piece.data());
}

const char* TokenList::at(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  return items_[index].text();
}
