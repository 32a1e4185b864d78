// compileSource: the front end's run from the source file to the back end.
#include "front_end.h"

#include <iostream>

#include "block_search.h"
#include "declarations.h"
#include "platform.h"
#include "source_file.h"
#include "source_text.h"
#include "statements.h"

namespace {

void writeErrorSummary() {
  std::cout << " assembled with (" << errorCount << ") error(s) " << '\n' << std::flush;
}

// Normalises text and fills tables and name from its blocks; stops at the
// first structural error, which has then been reported.
void analyseSource(std::string& text, const FrontEndOptions& options, ProgramTables& tables,
                   std::string& name) {
  lowerCaseText(text);
  stripComments(text);
  if (!checkBraceBalance(text)) return;
  if (!findObjectBlock(text, name)) return;
  checkObjectName(name);
  std::string block;
  if (!findVariableBlock(text, block)) return;
  parseDeclarations(block, tables);
  if (!findCodeBlock(text, block)) return;
  parseStatements(block, options.collapseSpacing, tables);
}

}  // namespace

void compileSource(const std::string& path, InputFile& source, const FrontEndOptions& options,
                   const BackEnd& backEnd) {
  ProgramTables tables;
  std::string name;
  {
    std::string text;
    text.swap(source.text);
    if (source.status == InputStatus::Read) {
      prepareSourceText(text);
      analyseSource(text, options, tables, name);
    } else {
      reportError("cannot read %s", path.c_str());
    }
  }
  if (errorCount != 0) {
    writeErrorSummary();
    pauseConsole();
    return;
  }
  backEnd(name, tables);
  if (options.summaryAfterBackEnd) {
    if (errorCount == 0) {
      std::cout << "assembled with (0) errors" << '\n' << std::flush;
    } else {
      writeErrorSummary();
    }
  }
  pauseConsole();
}
