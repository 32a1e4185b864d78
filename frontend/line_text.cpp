// Line edits; see line_text.h.
#include "line_text.h"

#include <algorithm>

void stripLineBreaks(std::string& text) {
  text.erase(
      std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
      text.end());
}

namespace {

void collapse(std::string& text, std::vector<std::size_t>* origins) {
  std::string result;
  result.reserve(text.size());
  if (origins != nullptr) {
    origins->clear();
    origins->reserve(text.size() + 1);
  }
  bool outside = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') outside = !outside;
    bool doubled = text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ';
    if (outside && doubled) continue;
    result += text[i];
    if (origins != nullptr) origins->push_back(i);
  }
  if (origins != nullptr) origins->push_back(text.size());
  text.swap(result);
}

}  // namespace

void collapseSpaces(std::string& text) { collapse(text, nullptr); }

void collapseSpaces(std::string& text, std::vector<std::size_t>& origins) {
  collapse(text, &origins);
}

void stripUnquotedSpaces(std::string& text) {
  std::string result;
  result.reserve(text.size());
  bool outside = true;
  for (char c : text) {
    if (c == '"') outside = !outside;
    if (!(outside && c == ' ')) result += c;
  }
  text.swap(result);
}

long firstNonSpace(const std::string& text) {
  std::size_t at = text.find_first_not_of(' ');
  return at == std::string::npos ? -1 : static_cast<long>(at);
}
