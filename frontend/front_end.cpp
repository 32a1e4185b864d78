// compileSource: the front end's run from the source file to the back end.
#include "front_end.h"

#include <iostream>
#include <utility>

#include "platform.h"
#include "source_analysis.h"
#include "source_file.h"

namespace {

void writeErrorSummary() {
  std::cout << " assembled with (" << errorCount << ") error(s) " << '\n' << std::flush;
}

}  // namespace

void compileSource(const std::string& path, InputFile& source, const FrontEndOptions& options,
                   const BackEnd& backEnd) {
  SourceAnalysis analysis;
  {
    std::string text;
    text.swap(source.text);
    if (source.status == InputStatus::Read) {
      prepareSourceText(text);
      analyseSource(std::move(text), options.collapseSpacing, analysis);
      // The normalised text is not needed past the parsers.
      std::string().swap(analysis.text);
    } else {
      reportError("cannot read %s", path.c_str());
    }
  }
  const ProgramTables& tables = analysis.tables;
  const std::string& name = analysis.objectName;
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
