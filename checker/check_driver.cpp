// The tarnel_check driver; see check_driver.h.
#include "check_driver.h"

#include <utility>

#include "check_source.h"
#include "diagnostic_report.h"
#include "source_file.h"

int runCheck(const std::vector<std::string>& files, std::ostream& out) {
  if (files.empty()) {
    out << "usage: tarnel_check FILE..." << std::endl;
    return 2;
  }
  CheckTotals totals;
  bool unreadable = false;
  for (const std::string& path : files) {
    InputFile file = readInputFile(path);
    if (file.status != InputStatus::Read) {
      out << "tarnel_check: cannot read " << path;
      if (file.status == InputStatus::TooLarge) {
        out << ": too large (" << kMaxInputFileText << " or more)";
      } else if (!file.reason.empty()) {
        out << ": " << file.reason;
      }
      out << std::endl;
      unreadable = true;
      continue;
    }
    std::string text = std::move(file.text);
    prepareSourceText(text);
    std::vector<Diagnostic> diagnostics = checkSource(text);
    out << formatDiagnostics(path, text, diagnostics) << std::flush;
    count(diagnostics, totals);
    ++totals.files;
  }
  out << summaryLine(totals) << std::endl;
  if (unreadable) return 2;
  return totals.errors > 0 ? 1 : 0;
}
