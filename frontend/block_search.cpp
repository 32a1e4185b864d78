// Brace balance and block search; see block_search.h.
#include "block_search.h"

#include <algorithm>

#include "front_end.h"
#include "quote_search.h"

namespace {

std::string between(const std::string& text, long open, long close) {
  if (close <= open + 1) return std::string();
  return text.substr(static_cast<std::size_t>(open + 1),
                     static_cast<std::size_t>(close - open - 1));
}

}  // namespace

bool checkBraceBalance(const std::string& text) {
  if (std::count(text.begin(), text.end(), '{') == std::count(text.begin(), text.end(), '}')) {
    return true;
  }
  reportError(" { } blocks missalligned");
  return false;
}

std::string objectName(const std::string& text, long keyword, long brace) {
  std::string name;
  for (long i = keyword + 3; i < brace && i < static_cast<long>(text.size()); ++i) {
    if (text[static_cast<std::size_t>(i)] != ' ') name += text[static_cast<std::size_t>(i)];
  }
  return name;
}

bool findObjectBlock(const std::string& text, std::string& name) {
  long keyword = findUnquotedAfter(-1, text, "kiv");
  if (keyword == -1) {
    reportError("kiv block not found");
    return false;
  }
  long brace = findUnquotedAfter(keyword, text, "{");
  if (brace == -1) {
    reportError("kiv opening brace ({) not found");
    return false;
  }
  name = objectName(text, keyword, brace);
  return true;
}

bool findVariableBlock(const std::string& text, std::string& block) {
  long keyword = findUnquotedAfter(-1, text, "var");
  if (keyword == -1) {
    reportError("var block not found");
    return false;
  }
  long open = findUnquotedAfter(keyword, text, "{");
  long close = open == -1 ? -1 : findUnquotedAfter(open, text, "}");
  if (close == -1) {
    reportError("var { or } not found");
    return false;
  }
  block = between(text, open, close);
  return true;
}

bool findCodeBlock(const std::string& text, std::string& block) {
  long keyword = findUnquotedAfter(-1, text, "begin");
  if (keyword == -1) {
    reportError(" begin block not found ");
    return false;
  }
  long open = findUnquotedAfter(keyword, text, "{");
  long close = open == -1 ? -1 : findUnquotedAfter(open, text, "}");
  if (close == -1) {
    reportError(" begin missing { or } ");
    return false;
  }
  block = between(text, open, close);
  return true;
}
