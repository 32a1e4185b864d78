// The page's services over the toolchain's libraries; see playground.h.
#include "playground.h"

#include <utility>
#include <vector>

#include "bytecode_text.h"
#include "check_source.h"
#include "diagnostic_report.h"
#include "fix_apply.h"
#include "front_end.h"
#include "json_report.h"
#include "perl_script.h"
#include "source_analysis.h"
#include "source_file.h"

namespace {

// The translators number their error lines across the front end and the
// back end of one run, from 1.
class ConsoleLines {
 public:
  explicit ConsoleLines(std::string& console) : console_(console) {}
  void addErrors(const std::vector<ReportedError>& errors) {
    for (const ReportedError& error : errors) add(error.text);
  }
  void add(const std::string& text) {
    console_ += "error(" + std::to_string(++count_) + ") " + text + "\n";
  }
  // The count line that ends a run with errors.
  std::string errorSummary() const {
    return " assembled with (" + std::to_string(count_) + ") error(s) \n";
  }
  void addErrorSummary() { console_ += errorSummary(); }
  int count() const { return count_; }

 private:
  std::string& console_;
  int count_ = 0;
};

// The front end on source as a translator runs it on the bytes of its file.
// False, with the error lines and the count line written, when an error
// stops the translator before its back end.
bool runFrontEnd(std::string source, bool collapseSpacing, SourceAnalysis& analysis,
                 ConsoleLines& console) {
  prepareSourceText(source);
  {
    ErrorCapture capture;
    analyseSource(std::move(source), collapseSpacing, analysis);
    console.addErrors(capture.errors());
  }
  if (console.count() == 0) return true;
  console.addErrorSummary();
  return false;
}

}  // namespace

TranslatorResult assembleText(std::string source) {
  TranslatorResult result;
  ConsoleLines console(result.console);
  SourceAnalysis analysis;
  if (!runFrontEnd(std::move(source), true, analysis, console)) return result;
  result.written = true;
  result.objectName = analysis.objectName;
  {
    // Unknown mnemonics are reported while the text is written.
    ErrorCapture capture;
    result.fileText = bytecodeText(analysis.tables);
    console.addErrors(capture.errors());
  }
  result.closingLine =
      console.count() == 0 ? std::string("assembled with (0) errors\n") : console.errorSummary();
  return result;
}

TranslatorResult translateText(std::string source) {
  TranslatorResult result;
  ConsoleLines console(result.console);
  SourceAnalysis analysis;
  if (!runFrontEnd(std::move(source), false, analysis, console)) return result;
  result.written = true;
  result.objectName = analysis.objectName;
  result.fileText =
      perlScriptText(analysis.tables, [&](const std::string& message) { console.add(message); });
  return result;
}

std::string checkReport(const std::string& fileName, const std::string& source) {
  // As tarnel_check: the file's bytes are checked as they are, and shown
  // as the front end reads them.
  std::vector<Diagnostic> diagnostics = checkSource(source);
  CheckTotals totals;
  count(diagnostics, totals);
  totals.files = 1;
  std::string shown = source;
  prepareSourceText(shown);
  return formatDiagnostics(fileName, shown, diagnostics) + summaryLine(totals) + "\n";
}

std::string checkJson(const std::string& fileName, const std::string& source) {
  FileReport report;
  report.path = fileName;
  report.diagnostics = checkSource(source);
  return jsonReport({report});
}

FixResult applyFix(const std::string& source, int diagnostic, int fix) {
  FixResult result;
  result.text = source;
  const std::vector<Diagnostic> diagnostics = checkSource(source);
  if (diagnostic < 0 || static_cast<std::size_t>(diagnostic) >= diagnostics.size()) return result;
  const std::vector<FixIt>& fixes = diagnostics[static_cast<std::size_t>(diagnostic)].fixes;
  if (fix < 0 || static_cast<std::size_t>(fix) >= fixes.size()) return result;
  FixApplication made = applyFixes(source, {fixes[static_cast<std::size_t>(fix)]});
  if (made.applied.empty()) return result;
  result.applied = true;
  result.text = std::move(made.text);
  return result;
}

std::string fixAll(const std::string& source) { return fixSafely(source).text; }
