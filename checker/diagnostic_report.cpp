// Writing diagnostics for the console; see diagnostic_report.h.
#include "diagnostic_report.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace {

const char* severityWord(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Note:
      break;
  }
  return "note";
}

// The lines of a text, cut out only when a diagnostic shows one.
class TextLines {
 public:
  explicit TextLines(const std::string& text) : text_(text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
      ends_.push_back(at);
    }
    if (ends_.empty() || ends_.back() + 1 < text.size()) ends_.push_back(text.size());
  }

  int size() const { return static_cast<int>(ends_.size()); }

  // Line n (from 1) without its line end; empty outside the text.
  std::string operator[](std::size_t index) const {
    if (index >= ends_.size()) return std::string();
    std::size_t begin = index == 0 ? 0 : ends_[index - 1] + 1;
    std::size_t end = ends_[index];
    if (end > begin && text_[end - 1] == '\r') --end;
    return text_.substr(begin, end - begin);
  }

 private:
  const std::string& text_;
  std::vector<std::size_t> ends_;  // where each line's feed (or the text) ends
};

// True when text is well-formed UTF-8, so that its characters, not its
// bytes, take one column each on a terminal.
bool continuesCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool isUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    if (c >= 0x80) {
      if ((c & 0xE0) == 0xC0) {
        extra = 1;
      } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
      } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
      } else {
        return false;
      }
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size() || !continuesCharacter(text[i + k])) return false;
    }
    i += extra + 1;
  }
  return true;
}

void writeOne(std::ostringstream& out, const std::string& fileName, const TextLines& lines,
              int line, int column, int length, const char* kind, const std::string& message) {
  out << fileName << ":" << line << ":" << column << ": " << kind << ": " << message << "\n";
  std::string text;
  if (line >= 1 && line <= lines.size()) text = lines[static_cast<std::size_t>(line - 1)];
  out << text << "\n" << caretLine(text, column, length) << "\n";
}

// The line numbers' column: wide enough for six digits, as compilers
// print it.
std::string numbered(const std::string& number, const std::string& text) {
  std::string margin(number.size() < 6 ? 6 - number.size() : 0, ' ');
  return margin + number + " | " + text + "\n";
}

constexpr std::size_t kFixLinesShown = 5;

// A fix as the lines it touches will read once it is made.
void writeFix(std::ostringstream& out, const TextLines& lines, const FixIt& fix) {
  out << (fix.safe ? "fix: " : "suggestion: ") << fix.description << "\n";
  std::map<int, std::vector<const FixEdit*>> byLine;
  for (const FixEdit& edit : fix.edits) byLine[edit.line].push_back(&edit);
  std::size_t shown = 0;
  for (auto& [line, edits] : byLine) {
    if (shown == kFixLinesShown) {
      out << numbered("", "... and " + std::to_string(byLine.size() - shown) + " more lines");
      break;
    }
    ++shown;
    std::string text;
    if (line >= 1 && line <= lines.size()) text = lines[static_cast<std::size_t>(line - 1)];
    std::sort(edits.begin(), edits.end(),
              [](const FixEdit* a, const FixEdit* b) { return a->column > b->column; });
    for (const FixEdit* edit : edits) {
      std::size_t at =
          std::min(text.size(), static_cast<std::size_t>(std::max(edit->column, 1) - 1));
      text.replace(at, static_cast<std::size_t>(std::max(edit->length, 0)), edit->replacement);
    }
    std::string number = std::to_string(line);
    std::size_t start = 0;
    for (std::size_t feed = text.find('\n'); feed != std::string::npos;
         feed = text.find('\n', start)) {
      out << numbered(number, text.substr(start, feed - start));
      number.clear();
      start = feed + 1;
    }
    out << numbered(number, text.substr(start));
  }
}

std::string counted(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

std::string caretLine(const std::string& line, int column, int length) {
  bool utf8 = isUtf8(line);
  std::size_t start = static_cast<std::size_t>(column > 1 ? column - 1 : 0);
  std::string caret;
  for (std::size_t i = 0; i < start; ++i) {
    if (i < line.size() && line[i] == '\t') {
      caret += '\t';
    } else if (i >= line.size() || !utf8 || !continuesCharacter(line[i])) {
      caret += ' ';
    }
  }
  caret += '^';
  std::size_t stop = start + static_cast<std::size_t>(length > 1 ? length : 1);
  if (stop > line.size()) stop = std::max(line.size(), start + 1);
  for (std::size_t i = start + 1; i < stop; ++i) {
    if (!utf8 || !continuesCharacter(line[i])) caret += '~';
  }
  return caret;
}

std::string formatDiagnostics(const std::string& fileName, const std::string& source,
                              const std::vector<Diagnostic>& diagnostics) {
  TextLines lines(source);
  std::ostringstream out;
  for (const Diagnostic& diagnostic : diagnostics) {
    writeOne(out, fileName, lines, diagnostic.line, diagnostic.column, diagnostic.length,
             severityWord(diagnostic.severity), diagnostic.message);
    for (const FixIt& fix : diagnostic.fixes) writeFix(out, lines, fix);
    for (const DiagnosticNote& note : diagnostic.notes) {
      writeOne(out, fileName, lines, note.line, note.column, note.length, "note", note.message);
    }
  }
  return out.str();
}

void count(const std::vector<Diagnostic>& diagnostics, CheckTotals& totals) {
  for (const Diagnostic& diagnostic : diagnostics) {
    switch (diagnostic.severity) {
      case Severity::Error:
        ++totals.errors;
        break;
      case Severity::Warning:
        ++totals.warnings;
        break;
      case Severity::Note:
        ++totals.notes;
        break;
    }
  }
}

std::string summaryLine(const CheckTotals& totals) {
  return counted(totals.errors, "error") + ", " + counted(totals.warnings, "warning") + " and " +
         counted(totals.notes, "note") + " in " + counted(totals.files, "file");
}
