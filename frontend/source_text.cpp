// Whole-text normalisation; see source_text.h.
#include "source_text.h"

void expandBareLineFeeds(std::string& text) {
  // A text whose every line feed has its CR already stays as it is.
  bool bare = false;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    if (at == 0 || text[at - 1] != '\r') {
      bare = true;
      break;
    }
  }
  if (!bare) return;
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
    result += text[i];
  }
  text.swap(result);
}

void lowerCaseText(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

void stripComments(std::string& text) {
  std::string result;
  result.reserve(text.size());
  bool copying = true;
  for (char c : text) {
    if (c == ';') copying = false;
    if (c == '\n') copying = true;
    if (copying) result += c;
  }
  text.swap(result);
}
