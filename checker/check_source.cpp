// checkSource: runs the checks on one text and orders what they found.
#include "check_source.h"

#include <algorithm>

#include "check_context.h"
#include "checks.h"

std::vector<Diagnostic> checkSource(const std::string& source) {
  CheckContext context(source);
  checkStructure(context);
  checkDeclarations(context);
  checkStatements(context);
  checkUnusedVariables(context);
  checkPerlTranslation(context);
  std::vector<Diagnostic> diagnostics = context.takeDiagnostics();
  std::stable_sort(diagnostics.begin(), diagnostics.end(),
                   [](const Diagnostic& a, const Diagnostic& b) {
                     if (a.line != b.line) return a.line < b.line;
                     if (a.column != b.column) return a.column < b.column;
                     return a.severity < b.severity;
                   });
  return diagnostics;
}
