// Fuzz target: tarnel_check's diagnostics on any source text. Every
// diagnostic, note and fix edit must lie inside one line of the text (a
// range may stand just past the line's last byte only when it is one byte
// long, or an edit zero), the report built from them must come out whole,
// and the fixes must apply to the text they were made for.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "check_source.h"
#include "diagnostic_report.h"
#include "fix_apply.h"
#include "json_report.h"
#include "source_file.h"

namespace {

void require(bool holds) {
  if (!holds) std::abort();
}

// The lengths of the text's lines, as the checker counts them: split at
// line feeds, a CR before a line feed (or at the end) not counted.
std::vector<long> lineWidths(const std::string& text) {
  std::vector<long> widths;
  std::size_t start = 0;
  for (;;) {
    std::size_t feed = text.find('\n', start);
    std::size_t end = feed == std::string::npos ? text.size() : feed;
    std::size_t content = end > start && text[end - 1] == '\r' ? end - 1 : end;
    widths.push_back(static_cast<long>(content - start));
    if (feed == std::string::npos) return widths;
    start = feed + 1;
  }
}

// A range of length bytes from column lies inside its line: at most one
// place past its last byte, and then only one byte long.
void requireInside(const std::vector<long>& widths, int line, int column, int length) {
  require(line >= 1 && line <= static_cast<long>(widths.size()));
  long width = widths[static_cast<std::size_t>(line - 1)];
  require(column >= 1 && length >= 1 && column <= width + 1);
  require(column + length - 1 <= width || (column == width + 1 && length == 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string source(reinterpret_cast<const char*>(data), size);
  const std::vector<Diagnostic> diagnostics = checkSource(source);
  std::string text = source;
  prepareSourceText(text);
  const std::vector<long> widths = lineWidths(text);
  std::vector<FixIt> fixes;
  for (const Diagnostic& diagnostic : diagnostics) {
    requireInside(widths, diagnostic.line, diagnostic.column, diagnostic.length);
    require(!diagnostic.message.empty());
    for (const DiagnosticNote& note : diagnostic.notes) {
      requireInside(widths, note.line, note.column, note.length);
    }
    for (const FixIt& fix : diagnostic.fixes) {
      require(!fix.edits.empty() && !fix.description.empty());
      for (const FixEdit& edit : fix.edits) {
        require(edit.line >= 1 && edit.line <= static_cast<long>(widths.size()));
        long width = widths[static_cast<std::size_t>(edit.line - 1)];
        require(edit.column >= 1 && edit.length >= 0 && edit.column + edit.length - 1 <= width);
      }
      fixes.push_back(fix);
    }
  }
  const std::string report = formatDiagnostics("fuzz.tarnel", text, diagnostics);
  require(diagnostics.empty() == report.empty());
  require(!jsonReport({FileReport{"fuzz.tarnel", diagnostics, {}, false, ""}}).empty());
  // Each fix fits the text on its own; made together, none may be lost
  // but to an overlap.
  for (const FixIt& fix : fixes) require(applyFixes(source, {fix}).skipped.empty());
  return 0;
}
