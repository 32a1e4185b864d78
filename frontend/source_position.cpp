// Offsets to lines and columns; see source_position.h.
#include "source_position.h"

#include <algorithm>

SourcePosition positionIn(const std::string& text, std::size_t offset, SourcePosition start) {
  std::size_t end = std::min(offset, text.size());
  std::size_t lastFeed = text.rfind('\n', end == 0 ? 0 : end - 1);
  if (end == 0 || lastFeed == std::string::npos) {
    return SourcePosition{start.line, start.column + static_cast<int>(offset)};
  }
  int feeds =
      static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(end), '\n'));
  return SourcePosition{start.line + feeds, static_cast<int>(offset - lastFeed)};
}

void PiecePlaces::enter(const std::string& piece) {
  current_ = next_;
  feeds_.clear();
  for (std::size_t at = piece.find('\n'); at != std::string::npos; at = piece.find('\n', at + 1)) {
    feeds_.push_back(at);
  }
  next_ = SourcePosition{current_.line + static_cast<int>(feeds_.size()) + 1, 1};
}

SourcePosition PiecePlaces::at(std::size_t offset) const {
  if (feeds_.empty() || offset <= feeds_.front()) {
    return SourcePosition{current_.line, current_.column + static_cast<int>(offset)};
  }
  auto after = std::upper_bound(feeds_.begin(), feeds_.end(), offset - 1);
  std::size_t feeds = static_cast<std::size_t>(after - feeds_.begin());
  return SourcePosition{current_.line + static_cast<int>(feeds),
                        static_cast<int>(offset - feeds_[feeds - 1])};
}
