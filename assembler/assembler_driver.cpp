// The tarnel driver; see assembler_driver.h.
#include "assembler_driver.h"

#include <iostream>

#include "emit_bytecode.h"
#include "front_end.h"
#include "source_file.h"

int runAssembler(const std::vector<std::string>& args, ProgramStarter& starter) {
  std::string self = args.empty() ? std::string("tarnel") : args[0];
  if (args.size() != 2) {
    std::cout << "[invalid syntax]\n" << self << " source.tarnel\n" << '\n' << std::flush;
    return 1;
  }
  const std::string& source = args[1];
  std::string directory = programDirectory(self);
  InputFile file;
  if (!readSourceFile(source, file)) return 1;
  FrontEndOptions options;
  options.collapseSpacing = true;
  options.summaryAfterBackEnd = true;
  bool interpreterSucceeded = true;
  compileSource(source, file, options,
                [&](const std::string& objectName, const ProgramTables& tables) {
                  interpreterSucceeded = emitBytecode(directory, objectName, tables, starter);
                });
  return errorCount == 0 && interpreterSucceeded ? 0 : 1;
}
