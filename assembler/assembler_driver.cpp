// The tarnel driver; see assembler_driver.h.
#include "assembler_driver.h"

#include <iostream>

#include "emit_bytecode.h"
#include "front_end.h"

int runAssembler(const std::vector<std::string>& args, ProgramStarter& starter) {
  std::string self = args.empty() ? std::string("tarnel") : args[0];
  if (args.size() != 2) {
    std::cout << "[invalid syntax]\n" << self << " source.tarnel\n" << '\n' << std::flush;
    return 1;
  }
  const std::string& source = args[1];
  std::string directory = programDirectory(self);
  if (!fileExists(source)) {
    std::cout << "file " << source << " not found .. " << '\n' << std::flush;
    return 1;
  }
  FrontEndOptions options;
  options.collapseSpacing = true;
  options.summaryAfterBackEnd = true;
  compileSource(source, options, [&](const std::string& objectName, const ProgramTables& tables) {
    emitBytecode(directory, objectName, tables, starter);
  });
  return errorCount == 0 ? 0 : 1;
}
