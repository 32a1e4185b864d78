// Places in a source file, in the terms its author sees: the line counted
// from 1 and the column counted from 1 in bytes, both taken from the file as
// it was read. Normalisation keeps them: lower-casing changes no byte's
// place, comment removal only drops the end of a line, and a bare line feed
// read as CR LF gains its CR at the end of the line. So a byte of the
// normalised text stands at the same line and column as in the file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct SourcePosition {
  int line = 0;    // from 1; 0 when the place is not known
  int column = 0;  // from 1, in bytes
};

inline bool operator==(const SourcePosition& a, const SourcePosition& b) {
  return a.line == b.line && a.column == b.column;
}
inline bool operator!=(const SourcePosition& a, const SourcePosition& b) { return !(a == b); }

// A stretch of one statement line: the place of its first byte and the
// place just after its last. Both are unknown (line 0) when the line holds
// no such stretch.
struct SourceSpan {
  SourcePosition begin;
  SourcePosition end;
};

// The place of every byte of a text that starts at a known place of the
// source: the whole normalised text (starting at line 1, column 1), or a
// block cut out of it (starting just after its brace).
class TextPositions {
 public:
  explicit TextPositions(const std::string& text, SourcePosition start = {1, 1});

  // The place of the byte at offset; offset may be the text's length, the
  // place just after its last byte.
  SourcePosition at(std::size_t offset) const;

 private:
  SourcePosition start_;
  std::vector<std::size_t> lineStarts_;  // the offset after each line feed
};
