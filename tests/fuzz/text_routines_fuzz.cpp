// Fuzz target: the text routines and TokenList against their reference
// versions written from the rules.
//
// Input: one byte of start position (signed), one separator byte, then the
// text and the pattern, cut at the last 0xff byte (without one, the pattern
// is the text's last three bytes). NUL bytes are dropped: the routines work
// on NUL-terminated strings.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "text_routines.h"
#include "text_routines_reference.h"
#include "token_list.h"

namespace {

void require(bool holds) {
  if (!holds) std::abort();
}

std::string withoutNul(const uint8_t* data, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] != 0) text += static_cast<char>(data[i]);
  }
  return text;
}

// A buffer the routines may fill: as long as both texts together, plus one.
struct Buffer {
  explicit Buffer(std::size_t size) : bytes(size + 1, '\x7f') {}
  std::string text() const { return std::string(bytes.data()); }
  std::vector<char> bytes;
};

void checkCopies(const std::string& text, const std::string& pattern, int start) {
  const std::size_t room = text.size() + pattern.size() + 1;
  const char* t = text.c_str();
  Buffer b(room);
  textCopy(b.bytes.data(), t);
  require(b.text() == text);
  textAppend(b.bytes.data(), pattern.c_str());
  require(b.text() == text + pattern);
  textLeft(t, b.bytes.data(), start);
  require(b.text() == reference::range(text, 0, start));
  textFrom(t, b.bytes.data(), start);
  require(b.text() == reference::range(text, start, reference::length(text)));
  textRange(t, b.bytes.data(), start, start + reference::length(pattern));
  require(b.text() == reference::range(text, start, start + reference::length(pattern)));
  textMid(t, b.bytes.data(), start, reference::length(pattern));
  require(b.text() == reference::mid(text, start, reference::length(pattern)));
  textStripBlanks(t, b.bytes.data());
  require(b.text() == reference::stripBlanks(text));
}

void checkSearches(const std::string& text, const std::string& pattern, int start) {
  const char* t = text.c_str();
  const char* p = pattern.c_str();
  require(textLength(t) == reference::length(text));
  require(textEquals(t, p) == (text == pattern));
  require(textFind(t, p) == reference::find(0, text, pattern));
  require(textFindFrom(start, t, p) == reference::find(start, text, pattern));
  require(textFindOutsideQuotes(start, t, p) == reference::findOutsideQuotes(start, text, pattern));
  require(textFindLast(t, p) == reference::findLast(reference::length(text), text, pattern));
  require(textFindLastFrom(start, t, p) == reference::findLast(start, text, pattern));
}

void checkSplit(const std::string& text, char separator) {
  int count = 0;
  for (char c : text) count += c == separator;
  require(textCountChar(text.c_str(), separator) == count);
  std::vector<std::string> wanted = reference::split(text, separator);
  TokenList list;
  list.split("left over from an earlier line,", separator);
  list.split(text.c_str(), separator);
  require(list.count() == static_cast<int>(wanted.size()));
  require(TokenList::countSeparators(text.c_str(), separator) ==
          (wanted.empty() ? 0 : list.count() - 1));
  for (int i = 0; i < list.count(); ++i) require(wanted[static_cast<std::size_t>(i)] == list.at(i));
  require(list.at(list.count()) == nullptr && list.at(-1) == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int start = static_cast<int8_t>(data[0]);
  const char separator = data[1] == 0 ? ',' : static_cast<char>(data[1]);
  const uint8_t* rest = data + 2;
  const std::size_t restSize = size - 2;
  std::size_t cut = restSize;
  for (std::size_t i = restSize; i-- > 0;) {
    if (rest[i] == 0xff) {
      cut = i;
      break;
    }
  }
  std::string text;
  std::string pattern;
  if (cut < restSize) {
    text = withoutNul(rest, cut);
    pattern = withoutNul(rest + cut + 1, restSize - cut - 1);
  } else {
    text = withoutNul(rest, restSize);
    pattern = text.substr(text.size() < 3 ? 0 : text.size() - 3);
  }
  checkCopies(text, pattern, start);
  checkSearches(text, pattern, start);
  checkSplit(text, separator);
  return 0;
}
