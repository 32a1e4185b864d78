// Reading and assembling a program for the debugger; see debug_program.h.
#include "debug_program.h"

#include <iostream>
#include <utility>

#include "bytecode_text.h"
#include "front_end.h"
#include "input_file.h"
#include "record_origins.h"
#include "source_analysis.h"
#include "source_file.h"

namespace {

// The closing entries of every code section the bytecode writer makes, and
// the section's end.
constexpr char kClosingEntries[] = "stop@,0!0:0}";
constexpr std::size_t kClosingLength = sizeof kClosingEntries - 1;
constexpr char kCodeOpening[] = "code{";
constexpr std::size_t kCodeOpeningLength = sizeof kCodeOpening - 1;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t feed = text.find('\n', start);
    std::size_t end = feed == std::string::npos ? text.size() : feed;
    std::size_t shown = end;
    if (shown > start && text[shown - 1] == '\r') --shown;
    lines.push_back(text.substr(start, shown - start));
    if (feed == std::string::npos) break;
    start = feed + 1;
  }
  return lines;
}

// The entries the bytecode writer wrote for the statement slots, found in
// its text: the same entries again, measured back from the closing ones.
// Empty when the text is not laid out as expected.
bool codeEntries(const ProgramTables& tables, const std::string& bytecode,
                 std::vector<EntryLine>& entries, std::size_t& end) {
  std::vector<std::pair<std::string, int>> written;
  std::size_t length = 0;
  {
    // Unknown mnemonics were reported when the text was written.
    ErrorCapture silent;
    for (const StatementSlot& slot : tables.statements()) {
      if (!slot.inUse) continue;
      std::string entry = slot.isLabel ? labelEntry(slot) : instructionEntry(slot);
      if (entry.empty()) continue;
      length += entry.size() + 1;
      written.emplace_back(std::move(entry), slot.position.line);
    }
  }
  if (bytecode.size() < length + kClosingLength + kCodeOpeningLength) return false;
  end = bytecode.size() - kClosingLength;
  std::size_t at = end - length;
  if (bytecode.compare(at - kCodeOpeningLength, kCodeOpeningLength, kCodeOpening) != 0) {
    return false;
  }
  for (const auto& [entry, line] : written) {
    if (bytecode.compare(at, entry.size(), entry) != 0 || bytecode[at + entry.size()] != ',') {
      return false;
    }
    entries.push_back(EntryLine{at, line});
    at += entry.size() + 1;
  }
  return true;
}

}  // namespace

bool isBytecodePath(const std::string& path) {
  constexpr char kEnding[] = ".kiv";
  constexpr std::size_t kEndingLength = sizeof kEnding - 1;
  return path.size() >= kEndingLength &&
         path.compare(path.size() - kEndingLength, kEndingLength, kEnding) == 0;
}

std::vector<int> recordLinesOf(const std::string& bytecode, const std::vector<EntryLine>& entries,
                               std::size_t end) {
  std::vector<int> lines;
  for (std::size_t origin : recordOrigins(bytecode)) {
    int line = 0;
    if (origin < end) {
      // The last entry that begins at or before the piece.
      std::size_t low = 0;
      std::size_t high = entries.size();
      while (low < high) {
        std::size_t middle = low + (high - low) / 2;
        if (entries[middle].offset <= origin) {
          low = middle + 1;
        } else {
          high = middle;
        }
      }
      if (low > 0) line = entries[low - 1].line;
    }
    lines.push_back(line);
  }
  return lines;
}

bool assembleSource(std::string source, DebugProgram& program, std::ostream& out) {
  prepareSourceText(source);
  program.fromSource = true;
  program.sourceLines = linesOf(source);
  SourceAnalysis analysis;
  std::vector<ReportedError> errors;
  {
    ErrorCapture capture;
    analyseSource(std::move(source), true, analysis);
    errors = capture.errors();
  }
  // Written and counted now, in the order found, as tarnel writes them.
  for (const ReportedError& error : errors) reportError("%s", error.text.c_str());
  if (!errors.empty()) {
    out << " assembled with (" << errors.size() << ") error(s) " << '\n' << std::flush;
    return false;
  }
  program.bytecode = bytecodeText(analysis.tables);
  std::vector<EntryLine> entries;
  std::size_t end = 0;
  if (codeEntries(analysis.tables, program.bytecode, entries, end)) {
    program.recordLines = recordLinesOf(program.bytecode, entries, end);
  } else {
    program.recordLines.assign(recordOrigins(program.bytecode).size(), 0);
  }
  return true;
}

bool loadDebugProgram(const std::string& path, DebugProgram& program) {
  program = DebugProgram();
  program.path = path;
  if (!isBytecodePath(path)) {
    InputFile file;
    if (!readSourceFile(path, file)) return false;
    if (file.status != InputStatus::Read) {
      reportError("cannot read %s", path.c_str());
      std::cout << " assembled with (1) error(s) " << '\n' << std::flush;
      return false;
    }
    return assembleSource(std::move(file.text), program, std::cout);
  }
  InputFile file = readInputFile(path);
  switch (file.status) {
    case InputStatus::Read:
      program.bytecode = std::move(file.text);
      program.recordLines.assign(recordOrigins(program.bytecode).size(), 0);
      return true;
    case InputStatus::NotFound:
      std::cout << path << " file not found.. " << '\n' << std::flush;
      return false;
    case InputStatus::TooLarge:
      std::cout << path << " file too large (" << kMaxInputFileText << " or more).. " << '\n'
                << std::flush;
      return false;
    case InputStatus::ReadFailed:
      std::cout << path << " file cannot be read: " << file.reason << ".. " << '\n' << std::flush;
      return false;
  }
  return false;
}
