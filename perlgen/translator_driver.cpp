// The tarnel_perl program: checks its command line and the source file,
// runs the front end and, when it counted no error, writes the Perl script
// and runs it.
#include "translator_driver.h"

#include <iostream>

#include "front_end.h"
#include "script_writer.h"
#include "source_file.h"

int runTranslator(const std::vector<std::string>& args, ProgramStarter& starter) {
  if (args.size() != 2) {
    std::cout << "[invalid syntax]\ntarnel_perl source.tarnel\n" << std::endl;
    return 1;
  }
  const std::string& sourcePath = args[1];
  InputFile source;
  if (!readSourceFile(sourcePath, source)) return 1;

  // The script lands beside the translator, not beside the source file.
  std::string directory = programDirectory(args[0]);
  FrontEndOptions options;
  options.collapseSpacing = false;
  options.summaryAfterBackEnd = false;
  bool perlSucceeded = true;
  compileSource(sourcePath, source, options,
                [&](const std::string& objectName, const ProgramTables& tables) {
                  perlSucceeded = writePerlScript(objectName, tables, directory, starter);
                });
  return errorCount == 0 && perlSucceeded ? 0 : 1;
}
