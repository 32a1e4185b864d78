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

// block = keyword ... "{" text "}": the text between the first "{" after
// the keyword and the first "}" after that brace, all outside quotes.
bool findBlock(const std::string& text, const char* keyword, const char* notFound,
               const char* bracesMissing, std::string& block, BlockOffsets& found) {
  found = BlockOffsets();
  found.keyword = findUnquotedAfter(-1, text, keyword);
  if (found.keyword == -1) {
    reportError("%s", notFound);
    return false;
  }
  found.open = findUnquotedAfter(found.keyword, text, "{");
  found.close = found.open == -1 ? -1 : findUnquotedAfter(found.open, text, "}");
  if (found.close == -1) {
    reportError("%s", bracesMissing);
    return false;
  }
  block = between(text, found.open, found.close);
  return true;
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

bool checkObjectName(const std::string& name) {
  if (name.find('/') == std::string::npos) return true;
  reportError("invalid object name %s", name.c_str());
  return false;
}

bool findObjectBlock(const std::string& text, std::string& name, BlockOffsets& found) {
  found = BlockOffsets();
  found.keyword = findUnquotedAfter(-1, text, "kiv");
  if (found.keyword == -1) {
    reportError("kiv block not found");
    return false;
  }
  found.open = findUnquotedAfter(found.keyword, text, "{");
  if (found.open == -1) {
    reportError("kiv opening brace ({) not found");
    return false;
  }
  name = objectName(text, found.keyword, found.open);
  return true;
}

bool findVariableBlock(const std::string& text, std::string& block, BlockOffsets& found) {
  return findBlock(text, "var", "var block not found", "var { or } not found", block, found);
}

bool findCodeBlock(const std::string& text, std::string& block, BlockOffsets& found) {
  return findBlock(text, "begin", " begin block not found ", " begin missing { or } ", block,
                   found);
}
