// checkSource: runs the checks on one text and orders what they found.
#include "check_source.h"

#include "check_context.h"
#include "checks.h"

std::vector<Diagnostic> checkSource(const std::string& source) {
  CheckContext context(source);
  checkStructure(context);
  checkDeclarations(context);
  checkStatements(context);
  checkUnusedVariables(context);
  checkPerlTranslation(context);
  return context.takeDiagnostics();
}
