// checkSource: runs the checks on one text and orders what they found,
// reading on after a brace or block error.
#include "check_source.h"

#include <algorithm>

#include "check_context.h"
#include "checks.h"
#include "recovery.h"

void runChecks(CheckContext& context) {
  checkStructure(context);
  checkDeclarations(context);
  StatementChecks statements(context);
  PerlChecks perl(context);
  context.forEachStatementChunk([&](const ProgramTables& tarnel, const ProgramTables& script) {
    statements.visit(tarnel, script);
    perl.visit(tarnel, script);
  });
  statements.finish();
  checkUnusedVariables(context);
  perl.finish();
}

std::vector<Diagnostic> checkSource(const std::string& source) {
  CheckContext context(source);
  runChecks(context);
  std::vector<Diagnostic> diagnostics = context.takeDiagnostics();
  if (context.assembler().stop == SourceStop::None) return diagnostics;
  auto error = std::find_if(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& found) {
    return found.severity == Severity::Error;
  });
  if (error == diagnostics.end()) return diagnostics;
  std::vector<Diagnostic> more = diagnosticsAfterRecovery(context, diagnostics, *error);
  if (more.empty()) return diagnostics;
  for (Diagnostic& diagnostic : more) diagnostics.push_back(std::move(diagnostic));
  std::stable_sort(diagnostics.begin(), diagnostics.end(),
                   [](const Diagnostic& a, const Diagnostic& b) {
                     if (a.line != b.line) return a.line < b.line;
                     if (a.column != b.column) return a.column < b.column;
                     return a.severity < b.severity;
                   });
  return diagnostics;
}
