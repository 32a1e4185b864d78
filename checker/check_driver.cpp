// The tarnel_check driver; see check_driver.h.
#include "check_driver.h"

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
    std::string text;
    if (!readWholeFile(path, text)) {
      out << "tarnel_check: cannot read " << path << std::endl;
      unreadable = true;
      continue;
    }
    std::vector<Diagnostic> diagnostics = checkSource(text);
    out << formatDiagnostics(path, text, diagnostics) << std::flush;
    count(diagnostics, totals);
    ++totals.files;
  }
  out << summaryLine(totals) << std::endl;
  if (unreadable) return 2;
  return totals.errors > 0 ? 1 : 0;
}
