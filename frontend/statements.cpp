// Statement parsing; see statements.h.
#include "statements.h"

#include <vector>

#include "line_text.h"
#include "quote_search.h"

namespace {

// The bytes of line from start up to, not including, stop; empty when the
// range holds none.
std::string slice(const std::string& line, long start, long stop) {
  long size = static_cast<long>(line.size());
  if (start < 0) start = 0;
  if (stop > size) stop = size;
  if (stop <= start) return std::string();
  return line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(stop - start));
}

// The source places of the bytes of one line of the parsed text, which may
// have had its blanks collapsed.
class LinePlaces {
 public:
  LinePlaces(const TextPositions& block, const std::vector<std::size_t>* origins,
             std::size_t lineStart, std::size_t lineSize)
      : block_(block), origins_(origins), lineStart_(lineStart), lineSize_(lineSize) {}

  // offset is a position in the line, from 0 up to its length.
  SourcePosition at(long offset) const {
    std::size_t inLine = offset < 0 ? 0 : static_cast<std::size_t>(offset);
    if (inLine > lineSize_) inLine = lineSize_;
    std::size_t parsed = lineStart_ + inLine;
    std::size_t written = origins_ == nullptr ? parsed : (*origins_)[parsed];
    return block_.at(written);
  }

  SourceSpan span(long start, long stop) const { return SourceSpan{at(start), at(stop)}; }

 private:
  const TextPositions& block_;
  const std::vector<std::size_t>* origins_;
  std::size_t lineStart_;
  std::size_t lineSize_;
};

void parseStatement(std::string line, bool collapseSpacing, const LinePlaces& places,
                    ProgramTables& tables) {
  long first = firstNonSpace(line);
  SourcePosition position = places.at(first);
  if (findUnquotedAfter(-1, line, ":") != -1) {
    stripLineBreaks(line);
    tables.addLabel(line, position);
    return;
  }
  long space = findUnquotedAfter(first, line, " ");
  if (space == -1) {
    std::string word;
    for (char c : line) {
      if (c != ' ') word += c;
    }
    tables.addInstruction(word, "", "", position);
    return;
  }
  std::string mnemonic = slice(line, first, space);
  long end = static_cast<long>(line.size()) - 1;
  long comma = findUnquotedAfter(space, line, ",");
  if (comma == -1) {
    tables.addInstruction(mnemonic, slice(line, space + 1, end), "", position,
                          places.span(space + 1, end));
    return;
  }
  std::string operand1 = slice(line, space + 1, comma);
  std::string operand2 = slice(line, comma + 1, end);
  if (collapseSpacing) {
    stripUnquotedSpaces(operand1);
    stripUnquotedSpaces(operand2);
  }
  tables.addInstruction(mnemonic, operand1, operand2, position, places.span(space + 1, comma),
                        places.span(comma + 1, end));
}

}  // namespace

void parseStatements(const std::string& block, bool collapseSpacing, ProgramTables& tables,
                     SourcePosition blockStart) {
  std::string text = block;
  std::vector<std::size_t> origins;
  if (collapseSpacing) collapseSpaces(text, origins);
  TextPositions positions(block, blockStart);
  std::vector<std::string> lines = splitOutsideQuotes(text, '\n');
  tables.reserveStatements(static_cast<int>(lines.size()));
  std::size_t start = 0;  // each piece follows the previous one and its line feed
  for (std::string& line : lines) {
    LinePlaces places(positions, collapseSpacing ? &origins : nullptr, start, line.size());
    start += line.size() + 1;
    if (line.size() <= 3 || firstNonSpace(line) == -1) continue;
    parseStatement(std::move(line), collapseSpacing, places, tables);
  }
}
