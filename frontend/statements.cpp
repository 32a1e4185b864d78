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

// The source places of the bytes of one line as parsed, which may have
// had its blanks collapsed.
class LinePlaces {
 public:
  LinePlaces(const PiecePlaces& written, const std::vector<std::size_t>* origins)
      : written_(written), origins_(origins) {}

  // offset is a position in the parsed line, from 0 up to its length.
  SourcePosition at(long offset) const {
    std::size_t parsed = offset < 0 ? 0 : static_cast<std::size_t>(offset);
    if (origins_ == nullptr) return written_.at(parsed);
    if (parsed >= origins_->size()) parsed = origins_->size() - 1;
    return written_.at((*origins_)[parsed]);
  }

  SourceSpan span(long start, long stop) const { return SourceSpan{at(start), at(stop)}; }

 private:
  const PiecePlaces& written_;
  const std::vector<std::size_t>* origins_;
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
  // Collapsing keeps every line feed and double quote, so the block splits
  // into the same lines before and after it, and each line starts outside
  // quotes: collapsing line by line gives the text collapsing the block
  // would, and keeps each line's own map back to the bytes as written.
  std::vector<std::string> lines = splitOutsideQuotes(block, '\n');
  tables.reserveStatements(static_cast<int>(lines.size()));
  PiecePlaces written(blockStart);
  std::vector<std::size_t> origins;
  for (std::string& line : lines) {
    written.enter(line);
    if (collapseSpacing) collapseSpaces(line, origins);
    if (line.size() <= 3 || firstNonSpace(line) == -1) continue;
    LinePlaces places(written, collapseSpacing ? &origins : nullptr);
    parseStatement(std::move(line), collapseSpacing, places, tables);
  }
}
