// The page's services over the toolchain's libraries; see playground.h.
#include "playground.h"

#include <utility>
#include <vector>

#include "bytecode_text.h"
#include "check_source.h"
#include "diagnostic_report.h"
#include "diagnostics_json.h"
#include "front_end.h"
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

std::string checkReport(const std::string& fileName, std::string source) {
  prepareSourceText(source);
  std::vector<Diagnostic> diagnostics = checkSource(source);
  CheckTotals totals;
  count(diagnostics, totals);
  totals.files = 1;
  return formatDiagnostics(fileName, source, diagnostics) + summaryLine(totals) + "\n";
}

std::string diagnosticsJson(std::string source) {
  prepareSourceText(source);
  return diagnosticsToJson(checkSource(source));
}
