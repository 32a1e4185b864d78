// Fuzz target: a source text through the front end as tarnel and
// tarnel_perl run it, then the bytecode writer and the Perl script writer,
// and the bytecode it gives through kivinterp's loader. Errors are captured,
// not printed. What must hold: every used slot carries a place inside the
// text, and the two outputs have their fixed frames.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "bytecode_text.h"
#include "front_end.h"
#include "interpreter.h"
#include "perl_script.h"
#include "source_analysis.h"
#include "source_file.h"

namespace {

void require(bool holds) {
  if (!holds) std::abort();
}

// The number of lines of text, counting a last one without a line end.
long lineCount(const std::string& text) {
  long lines = 1;
  for (char c : text) lines += c == '\n';
  return lines;
}

void requirePlace(const SourcePosition& position, long lines) {
  require(position.line >= 1 && position.line <= lines && position.column >= 1);
}

bool startsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void checkTables(const ProgramTables& tables, long lines) {
  for (const VariableSlot& slot : tables.variables()) {
    if (slot.inUse) requirePlace(slot.position, lines);
  }
  for (const StatementSlot& slot : tables.statements()) {
    if (slot.inUse) requirePlace(slot.position, lines);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  prepareSourceText(text);
  const long lines = lineCount(text);
  ErrorCapture capture;

  SourceAnalysis assembler;
  analyseSource(text, true, assembler);
  checkTables(assembler.tables, lines);
  const std::string bytecode = bytecodeText(assembler.tables);
  require(startsWith(bytecode, "var{") && endsWith(bytecode, "stop@,0!0:0}"));
  Interpreter interpreter;
  interpreter.loadText(bytecode);
  std::ostringstream report;
  interpreter.writeDebugReport(report);

  SourceAnalysis translator;
  analyseSource(text, false, translator);
  checkTables(translator.tables, lines);
  const std::string script = perlScriptText(translator.tables, [](const std::string&) {});
  require(startsWith(script, "#!/usr/bin/perl \r\n"));
  return 0;
}
