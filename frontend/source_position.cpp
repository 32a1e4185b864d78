// Offsets to lines and columns; see source_position.h.
#include "source_position.h"

#include <algorithm>

TextPositions::TextPositions(const std::string& text, SourcePosition start) : start_(start) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') lineStarts_.push_back(i + 1);
  }
}

SourcePosition TextPositions::at(std::size_t offset) const {
  // The line feeds that stand before offset are those whose following line
  // starts at or before it.
  auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
  std::size_t feeds = static_cast<std::size_t>(after - lineStarts_.begin());
  SourcePosition position;
  position.line = start_.line + static_cast<int>(feeds);
  if (feeds == 0) {
    position.column = start_.column + static_cast<int>(offset);
  } else {
    position.column = static_cast<int>(offset - lineStarts_[feeds - 1]) + 1;
  }
  return position;
}
