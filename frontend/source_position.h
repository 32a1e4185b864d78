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

// The place of the byte at offset of text (offset may be its length, just
// after the last byte), when text starts at start: the whole normalised
// text starts at line 1, column 1; a block cut out of it just after its
// brace. Counts the line feeds before offset, so a caller that needs many
// places walks the pieces with PiecePlaces instead.
SourcePosition positionIn(const std::string& text, std::size_t offset,
                          SourcePosition start = {1, 1});

// The places of the pieces of a text cut at its line feeds, visited in
// order: each piece begins just after the line feed that ended the one
// before, and may hold line feeds of its own (between double quotes).
class PiecePlaces {
 public:
  explicit PiecePlaces(SourcePosition textStart) : next_(textStart) {}

  // Moves on to piece, the one after those entered before.
  void enter(const std::string& piece);

  // The place of the byte at offset of the current piece; offset may be
  // its length.
  SourcePosition at(std::size_t offset) const;

 private:
  SourcePosition current_;
  SourcePosition next_;
  std::vector<std::size_t> feeds_;  // offsets of the current piece's own line feeds
};
