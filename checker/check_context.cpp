// The checker's shared view of one source text; see check_context.h.
#include "check_context.h"

#include <algorithm>
#include <utility>

#include "source_file.h"
#include "statements.h"

namespace {

// The offsets at which the lines of text start.
std::vector<std::size_t> lineStartsOf(const std::string& text) {
  std::vector<std::size_t> starts;
  starts.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  starts.push_back(0);
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    starts.push_back(at + 1);
  }
  return starts;
}

// Line n (from 1) of text whose lines start at starts, without its line
// end (a CR before the line feed, or at the very end, is part of it).
std::string lineOf(const std::string& text, const std::vector<std::size_t>& starts, int line) {
  if (line < 1 || line > static_cast<int>(starts.size())) return std::string();
  std::size_t begin = starts[static_cast<std::size_t>(line - 1)];
  std::size_t end = static_cast<std::size_t>(line) < starts.size()
                        ? starts[static_cast<std::size_t>(line)] - 1
                        : text.size();
  if (end > begin && text[end - 1] == '\r') --end;
  return text.substr(begin, end - begin);
}

// True when tarnel_perl's parse of every line of part gives the slot
// tarnel's does. The two parses differ only in blanks: tarnel collapses runs
// of them outside quotes and strips them from two-operand operands. So a
// line reads alike when, after its indentation, no blank but one stands
// outside quotes; when it is no indented label, no line of blanks and not
// so short that tarnel's collapsed indentation makes it one to pass over;
// and when no double quote comes before its first blank (the parser's
// search for that blank takes its first byte's quote for none, so the two
// would read quotes differently after it).
bool readsAlike(const std::string& part) {
  bool inside = false;
  bool atStart = true;    // in a line's indentation
  bool indented = false;  // the line began with a blank
  int blanks = 0;         // blanks outside quotes after the indentation
  bool blankSeen = false;
  bool quoteFirst = false;  // a quote before the line's first blank
  bool label = false;       // a ":" outside quotes
  bool visible = false;     // anything but blanks and a CR
  std::size_t rest = 0;     // bytes after the indentation
  auto differs = [&] { return indented && (label || !visible || rest <= 2); };
  for (char c : part) {
    if (c == '\n') {
      if (inside || differs()) return false;
      atStart = true;
      indented = false;
      blanks = 0;
      blankSeen = false;
      quoteFirst = false;
      label = false;
      visible = false;
      rest = 0;
      continue;
    }
    if (c == ' ' && atStart) {
      indented = true;
      continue;
    }
    atStart = false;
    ++rest;
    if (c == '"') {
      inside = !inside;
      if (!blankSeen) quoteFirst = true;
    }
    if (c == ' ') {
      if (quoteFirst) return false;
      blankSeen = true;
    }
    if (inside) continue;
    if (c == ' ' && ++blanks > 1) return false;
    if (c == ':') label = true;
    if (c != ' ' && c != '\r') visible = true;
  }
  return !inside && !differs();
}

}  // namespace

CheckContext::CheckContext(const std::string& source, std::size_t chunkLines)
    : chunkLines_(chunkLines > 0 ? chunkLines : kChunkLines), written_(source) {
  prepareSourceText(written_);
  writtenStarts_ = lineStartsOf(written_);
  {
    // The statements are parsed a part at a time (forEachStatementChunk);
    // the front end reports none of their faults itself.
    ErrorCapture capture;
    analyseSource(written_, true, analysis_, false);
    frontEndErrors_ = capture.errors();
  }
  lineStarts_ = lineStartsOf(analysis_.text);
  for (const VariableSlot& slot : analysis_.tables.variables()) {
    if (slot.inUse) variables_.emplace(slot.name, &slot);  // emplace keeps the first
  }
}

void CheckContext::forEachStatementChunk(const ChunkVisitor& visit) const {
  const SourceAnalysis& analysis = analysis_;
  if (analysis.stop != SourceStop::None || analysis.code.open < 0 || analysis.code.close < 0) {
    return;
  }
  const std::string& text = analysis.text;
  const std::size_t begin = static_cast<std::size_t>(analysis.code.open) + 1;
  const std::size_t end = static_cast<std::size_t>(analysis.code.close);
  // The parser cuts the block into lines at line feeds outside quotes, and
  // a text without such a feed gives it no line at all: parts end just
  // after such a feed, and the last part keeps the last of them.
  std::size_t lastFeed = end;
  bool inside = false;
  for (std::size_t at = begin; at < end; ++at) {
    if (text[at] == '"') inside = !inside;
    if (text[at] == '\n' && !inside) lastFeed = at;
  }
  std::size_t partStart = begin;
  std::size_t lines = 0;
  inside = false;
  auto parse = [&](std::size_t partEnd) {
    std::string part = text.substr(partStart, partEnd - partStart);
    SourcePosition start = positionOf(static_cast<long>(partStart));
    ProgramTables tarnel;
    parseStatements(part, true, tarnel, start);
    if (readsAlike(part)) {
      visit(tarnel, tarnel);
    } else {
      ProgramTables perl;
      parseStatements(part, false, perl, start);
      visit(tarnel, perl);
    }
    partStart = partEnd;
  };
  for (std::size_t at = begin; at < lastFeed && lastFeed != end; ++at) {
    if (text[at] == '"') inside = !inside;
    if (text[at] != '\n' || inside) continue;
    if (++lines >= chunkLines_) {
      parse(at + 1);
      lines = 0;
    }
  }
  parse(end);
}

std::string CheckContext::writtenLine(int line) const {
  return lineOf(written_, writtenStarts_, line);
}

std::string CheckContext::normalisedLine(int line) const {
  return lineOf(analysis_.text, lineStarts_, line);
}

char CheckContext::normalisedByte(SourcePosition position) const {
  std::size_t offset = offsetOf(position);
  if (offset >= analysis_.text.size()) return '\0';
  // A column past the end of its line would name a byte of the next one.
  if (position.column > widthOf(normalisedLine(position.line)) + 1) return '\0';
  return analysis_.text[offset];
}

std::size_t CheckContext::offsetOf(SourcePosition position) const {
  if (position.line < 1 || position.line > static_cast<int>(lineStarts_.size())) {
    return analysis_.text.size();
  }
  return lineStarts_[static_cast<std::size_t>(position.line - 1)] +
         static_cast<std::size_t>(position.column > 0 ? position.column - 1 : 0);
}

SourcePosition CheckContext::positionOf(long offset) const {
  if (offset < 0) return SourcePosition{1, 1};
  std::size_t at = static_cast<std::size_t>(offset);
  auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), at);
  std::size_t line = static_cast<std::size_t>(after - lineStarts_.begin()) - 1;
  return SourcePosition{static_cast<int>(line) + 1, static_cast<int>(at - lineStarts_[line]) + 1};
}

std::string CheckContext::lineFrom(SourcePosition position, long blockClose) const {
  const std::string& text = analysis_.text;
  std::size_t start = std::min(offsetOf(position), text.size());
  std::size_t stop = text.find('\n', start);
  if (stop == std::string::npos) stop = text.size();
  if (blockClose >= 0 && static_cast<std::size_t>(blockClose) >= start &&
      static_cast<std::size_t>(blockClose) < stop) {
    stop = static_cast<std::size_t>(blockClose);
  }
  return text.substr(start, stop - start);
}

SourcePosition CheckContext::endOfText() const {
  for (int line = lineCount(); line >= 1; --line) {
    std::string text = writtenLine(line);
    std::size_t last = text.find_last_not_of(" \t\r");
    if (last != std::string::npos) return SourcePosition{line, static_cast<int>(last) + 2};
  }
  return SourcePosition{1, 1};
}

const VariableSlot* CheckContext::variable(const std::string& name) const {
  auto found = variables_.find(name);
  return found == variables_.end() ? nullptr : found->second;
}

bool CheckContext::declares(const std::string& name) const {
  return variable(name) != nullptr || name == "con0";
}

int CheckContext::rejectedDeclarationLine(const std::string& name) const {
  auto found = rejectedNames_.find(name);
  return found == rejectedNames_.end() ? 0 : found->second;
}

void CheckContext::clampRange(SourcePosition& position, int& length) const {
  if (position.line < 1) position.line = 1;
  if (position.line > lineCount()) position.line = lineCount();
  int width = widthOf(writtenLine(position.line));
  if (position.column < 1) position.column = 1;
  if (position.column > width + 1) position.column = width + 1;
  int room = width - position.column + 1;
  if (length > room) length = room;
  if (length < 1) length = 1;
}

void CheckContext::placeInside(int& line, int& column, int& length) const {
  SourcePosition position{line, column};
  clampRange(position, length);
  line = position.line;
  column = position.column;
}

Diagnostic& CheckContext::add(Severity severity, SourcePosition position, int length,
                              std::string message) {
  clampRange(position, length);
  Diagnostic diagnostic;
  diagnostic.line = position.line;
  diagnostic.column = position.column;
  diagnostic.length = length > 0 ? length : 1;
  diagnostic.severity = severity;
  diagnostic.message = std::move(message);
  diagnostics_.push_back(std::move(diagnostic));
  return diagnostics_.back();
}

void CheckContext::attach(Diagnostic& diagnostic, SourcePosition position, int length,
                          std::string message) const {
  clampRange(position, length);
  DiagnosticNote note;
  note.line = position.line;
  note.column = position.column;
  note.length = length > 0 ? length : 1;
  note.message = std::move(message);
  diagnostic.notes.push_back(std::move(note));
}

FixIt& CheckContext::offerFix(Diagnostic& diagnostic, std::string description, bool safe) {
  FixIt fix;
  fix.description = std::move(description);
  fix.safe = safe;
  diagnostic.fixes.push_back(std::move(fix));
  return diagnostic.fixes.back();
}

void CheckContext::edit(FixIt& fix, SourcePosition position, int length, std::string replacement) {
  fix.edits.push_back(FixEdit{position.line, position.column, length, std::move(replacement)});
}

void CheckContext::markFirst(const Diagnostic& diagnostic) {
  firsts_.push_back(static_cast<std::size_t>(&diagnostic - diagnostics_.data()));
}

bool CheckContext::fits(const FixIt& fix) const {
  for (const FixEdit& edit : fix.edits) {
    if (edit.line < 1 || edit.line > lineCount() || edit.column < 1 || edit.length < 0 ||
        edit.column + edit.length - 1 > widthOf(writtenLine(edit.line))) {
      return false;
    }
  }
  return !fix.edits.empty();
}

std::vector<Diagnostic> CheckContext::takeDiagnostics() {
  // A fix made from a parse that ran over a line end (a name or text with
  // a line break in it) may name bytes its line does not have: such a fix
  // is dropped rather than offered wrong.
  for (Diagnostic& diagnostic : diagnostics_) {
    auto unfit = std::remove_if(diagnostic.fixes.begin(), diagnostic.fixes.end(),
                                [&](const FixIt& fix) { return !fits(fix); });
    diagnostic.fixes.erase(unfit, diagnostic.fixes.end());
  }
  std::vector<std::size_t> order(diagnostics_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::vector<bool> marked(diagnostics_.size(), false);
  for (std::size_t i : firsts_) marked[i] = true;
  auto first = [&](std::size_t i) { return static_cast<bool>(marked[i]); };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const Diagnostic& x = diagnostics_[a];
    const Diagnostic& y = diagnostics_[b];
    if (first(a) != first(b)) return first(a);
    if (x.line != y.line) return x.line < y.line;
    if (x.column != y.column) return x.column < y.column;
    return x.severity < y.severity;
  });
  std::vector<Diagnostic> sorted;
  sorted.reserve(order.size());
  for (std::size_t i : order) sorted.push_back(std::move(diagnostics_[i]));
  diagnostics_.clear();
  firsts_.clear();
  return sorted;
}

void SlotsByLine::fill(const ProgramTables& tables) {
  slots_.clear();
  first_ = 0;
  int last = 0;
  for (const StatementSlot& slot : tables.statements()) {
    if (!slot.inUse) continue;
    if (first_ == 0) first_ = slot.position.line;
    last = slot.position.line;
  }
  if (first_ == 0) return;
  slots_.assign(static_cast<std::size_t>(last - first_ + 1), nullptr);
  for (const StatementSlot& slot : tables.statements()) {
    if (slot.inUse) set(slot.position.line, &slot);
  }
}

void SlotsByLine::set(int line, const StatementSlot* slot) {
  if (line < first_ || line - first_ >= static_cast<int>(slots_.size())) return;
  slots_[static_cast<std::size_t>(line - first_)] = slot;
}

const StatementSlot* SlotsByLine::at(int line) const {
  if (line < first_ || line - first_ >= static_cast<int>(slots_.size())) return nullptr;
  return slots_[static_cast<std::size_t>(line - first_)];
}

const Mnemonic* mnemonicNamed(const std::string& text) {
  static const std::unordered_map<std::string, const Mnemonic*> named = [] {
    std::unordered_map<std::string, const Mnemonic*> table;
    for (int code = 1; const Mnemonic* mnemonic = mnemonicByCode(code); ++code) {
      table.emplace(mnemonic->text, mnemonic);
    }
    return table;
  }();
  auto found = named.find(text);
  return found == named.end() ? nullptr : found->second;
}

std::string quoted(const std::string& text) {
  std::string shown = "\"";
  for (char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown += c;
    }
  }
  return shown + "\"";
}

std::string part(const std::string& text, std::size_t begin, std::size_t length) {
  return begin > text.size() ? std::string() : text.substr(begin, length);
}

std::string trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

int widthOf(const std::string& text) { return static_cast<int>(text.size()); }

SourcePosition shifted(SourcePosition position, int columns) {
  position.column += columns;
  return position;
}
