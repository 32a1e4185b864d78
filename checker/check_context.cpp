// The checker's shared view of one source text; see check_context.h.
#include "check_context.h"

#include <algorithm>
#include <utility>

#include "source_file.h"

namespace {

// The lines of text at its line feeds, each without its line end.
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t feed = text.find('\n', start);
    std::string line = text.substr(start, feed == std::string::npos ? feed : feed - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (feed == std::string::npos) break;
    start = feed + 1;
  }
  return lines;
}

std::unordered_map<std::string, const VariableSlot*> firstByName(const ProgramTables& tables) {
  std::unordered_map<std::string, const VariableSlot*> names;
  for (const VariableSlot& slot : tables.variables()) {
    if (slot.inUse) names.emplace(slot.name, &slot);  // emplace keeps the first
  }
  return names;
}

const std::string kNoLine;

}  // namespace

CheckContext::CheckContext(const std::string& source) {
  std::string text = source;
  prepareSourceText(text);
  written_ = splitLines(text);
  {
    ErrorCapture capture;
    analyseSource(text, true, assembler_);
    frontEndErrors_ = capture.errors();
  }
  {
    ErrorCapture capture;
    analyseSource(text, false, perl_);
  }
  normalised_ = splitLines(assembler_.text);
  lineStarts_.push_back(0);
  for (std::size_t i = 0; i < assembler_.text.size(); ++i) {
    if (assembler_.text[i] == '\n') lineStarts_.push_back(i + 1);
  }
  variables_ = firstByName(assembler_.tables);
  perlVariables_ = firstByName(perl_.tables);
}

const std::string& CheckContext::writtenLine(int line) const {
  if (line < 1 || line > lineCount()) return kNoLine;
  return written_[static_cast<std::size_t>(line - 1)];
}

const std::string& CheckContext::normalisedLine(int line) const {
  if (line < 1 || line > static_cast<int>(normalised_.size())) return kNoLine;
  return normalised_[static_cast<std::size_t>(line - 1)];
}

char CheckContext::normalisedByte(SourcePosition position) const {
  std::size_t offset = offsetOf(position);
  if (offset >= assembler_.text.size()) return '\0';
  // A column past the end of its line would name a byte of the next one.
  if (position.column > widthOf(normalisedLine(position.line)) + 1) return '\0';
  return assembler_.text[offset];
}

std::size_t CheckContext::offsetOf(SourcePosition position) const {
  if (position.line < 1 || position.line > static_cast<int>(lineStarts_.size())) {
    return assembler_.text.size();
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
  const std::string& text = assembler_.text;
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

const VariableSlot* CheckContext::perlVariable(const std::string& name) const {
  auto found = perlVariables_.find(name);
  return found == perlVariables_.end() ? nullptr : found->second;
}

bool CheckContext::declares(const std::string& name) const {
  return variable(name) != nullptr || name == "con0";
}

int CheckContext::rejectedDeclarationLine(const std::string& name) const {
  auto found = rejectedNames_.find(name);
  return found == rejectedNames_.end() ? 0 : found->second;
}

bool CheckContext::isCutLine(int line) const {
  return std::find(cutLines_.begin(), cutLines_.end(), line) != cutLines_.end();
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
