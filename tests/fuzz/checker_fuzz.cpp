// Fuzz target: tarnel_check's diagnostics on any source text. Every
// diagnostic and note must stand on a line of the text (or just past its
// end), and the report built from them must come out whole.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "check_source.h"
#include "diagnostic_report.h"
#include "source_file.h"

namespace {

void require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string source(reinterpret_cast<const char*>(data), size);
  const std::vector<Diagnostic> diagnostics = checkSource(source);
  std::string text = source;
  prepareSourceText(text);
  long lines = 1;
  for (char c : text) lines += c == '\n';
  for (const Diagnostic& diagnostic : diagnostics) {
    require(diagnostic.line >= 1 && diagnostic.line <= lines + 1 && diagnostic.column >= 1);
    require(!diagnostic.message.empty());
    for (const DiagnosticNote& note : diagnostic.notes) {
      require(note.line >= 1 && note.line <= lines + 1 && note.column >= 1);
    }
  }
  const std::string report = formatDiagnostics("fuzz.tarnel", text, diagnostics);
  require(diagnostics.empty() == report.empty());
  return 0;
}
