// TokenList cuts one line into pieces at a separator byte that stands
// outside double quotes. A double quote opens or closes a quoted stretch,
// with no escape character; quotes stay in the pieces as they stand.
//
// A line with n separators outside quotes gives n + 1 pieces: the text
// before each separator and the rest after the last one (empty when the line
// ends with the separator). A line holding no such separator gives no piece
// at all, not one piece holding the whole line.
#pragma once

#include <memory>

class Token {
 public:
  // Replaces the held text by a copy of text.
  void assign(const char* text);
  const char* text() const { return text_.get(); }

 private:
  std::unique_ptr<char[]> text_;
};

class TokenList {
 public:
  // Refills the list with the pieces of line.
  void split(const char* line, char separator);
  // Separators of line that lie outside double quotes.
  static int countSeparators(const char* line, char separator);
  // The text of piece index, or nullptr when index is not below count().
  const char* at(int index) const;
  int count() const { return count_; }

 private:
  std::unique_ptr<Token[]> items_;
  int start_ = 0;
  int count_ = 0;
};
