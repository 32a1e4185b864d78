// Interpreter::loadText: cuts a bytecode file into the variable table and
// the code table. Every search skips double-quoted stretches, so values and
// operands may hold the structural bytes between quotes. The entries are
// read in place, without a copy of each.
#include <cstdint>
#include <string>
#include <string_view>

#include "interpreter.h"
#include "text_routines.h"

namespace {

// The first position at or after from where c stands outside quotes, the
// quote state starting outside at from; -1 when there is none.
int findOutsideQuotes(std::string_view text, std::size_t from, char c) {
  bool outside = true;
  for (std::size_t p = from; p < text.size(); ++p) {
    if (text[p] == '"') outside = !outside;
    if (outside && text[p] == c) return static_cast<int>(p);
  }
  return -1;
}

// The text between the first opening marker and the first "}" after it;
// empty when either is missing. text ends at its first NUL byte, as the
// searches see it.
std::string_view section(const char* text, std::string_view whole, const char* opening,
                         int openingLength) {
  int begin = textFindOutsideQuotes(0, text, opening);
  if (begin < 0) return std::string_view();
  int end = textFindOutsideQuotes(begin + 1, text, "}");
  if (end < 0) return std::string_view();
  std::size_t from = static_cast<std::size_t>(begin) + static_cast<std::size_t>(openingLength);
  std::size_t to = static_cast<std::size_t>(end);
  if (to > whole.size()) to = whole.size();
  if (to <= from) return std::string_view();
  return whole.substr(from, to - from);
}

// Calls each(entry) for every piece of content cut at commas outside quotes:
// n such commas give n + 1 pieces, none give no piece at all.
template <typename Each>
void forEachEntry(std::string_view content, Each each) {
  if (findOutsideQuotes(content, 0, ',') < 0) return;
  bool outside = true;
  std::size_t start = 0;
  for (std::size_t p = 0; p < content.size(); ++p) {
    if (content[p] == '"') outside = !outside;
    if (outside && content[p] == ',') {
      each(content.substr(start, p - start));
      start = p + 1;
    }
  }
  each(content.substr(start));
}

std::string_view before(std::string_view text, int position) {
  return text.substr(0, static_cast<std::size_t>(position));
}

std::string_view after(std::string_view text, int position) {
  return text.substr(static_cast<std::size_t>(position) + 1);
}

}  // namespace

void Interpreter::loadText(const std::string& text) {
  const char* bytes = text.c_str();
  const std::string_view whole(bytes);

  // entry = name marker ":" value, markers taken in the order "$", "&", "#"
  forEachEntry(section(bytes, whole, "var{", 4), [&](std::string_view entry) {
    int colon = findOutsideQuotes(entry, 0, ':');
    if (colon < 0) return;
    std::string_view name = before(entry, colon);
    const std::string value(after(entry, colon));
    const char markers[] = {'$', '&', '#'};
    for (int type = 0; type < 3; ++type) {
      int marker = findOutsideQuotes(name, 0, markers[type]);
      if (marker < 0) continue;
      name = before(name, marker);
      addVariable(std::string(name), value, type);
    }
  });

  // entry = name "@" ... | opcode "!" operand1 ":" operand2
  const std::string_view codeSection = section(bytes, whole, "code{", 5);
  // Every entry adds at most one record: one more than the commas.
  std::size_t commas = 0;
  for (char c : codeSection) commas += c == ',' ? 1 : 0;
  if (commas < static_cast<std::size_t>(INT32_MAX)) code.reserve(static_cast<int>(commas) + 1);
  forEachEntry(codeSection, [&](std::string_view entry) {
    int at = findOutsideQuotes(entry, 0, '@');
    if (at >= 0) {
      // No label pass follows a label entry.
      code.add("-1", "0", "0", before(entry, at));
      return;
    }
    int bang = findOutsideQuotes(entry, 0, '!');
    int colon = bang < 0 ? -1 : findOutsideQuotes(entry, static_cast<std::size_t>(bang) + 1, ':');
    if (colon >= 0) {
      code.add(before(entry, bang),
               entry.substr(static_cast<std::size_t>(bang) + 1,
                            static_cast<std::size_t>(colon - bang - 1)),
               after(entry, colon), "");
    }
    code.resolveLabels();
  });
}
