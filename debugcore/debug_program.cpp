// Assembling a program for the debugger in memory; see debug_program.h.
#include "debug_program.h"

#include <cctype>
#include <utility>

#include "bytecode_text.h"
#include "front_end.h"
#include "record_origins.h"
#include "source_analysis.h"
#include "source_file.h"
#include "source_position.h"

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

// tarnel's error line for a captured text: numbered, without the carriage
// return a line end can leave inside it (an unknown mnemonic at the end of
// a line keeps the CR of its CR LF).
std::string errorLine(int number, const std::string& text) {
  std::string line = "error(" + std::to_string(number) + ") ";
  for (char c : text) {
    if (c != '\r') line += c;
  }
  return line;
}

}  // namespace

bool isBytecodePath(const std::string& path) {
  constexpr char kEnding[] = ".kiv";
  constexpr std::size_t kEndingLength = sizeof kEnding - 1;
  if (path.size() < kEndingLength) return false;
  for (std::size_t i = 0; i < kEndingLength; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[path.size() - kEndingLength + i]);
    if (std::tolower(c) != kEnding[i]) return false;
  }
  return true;
}

std::vector<int> recordLinesOf(const std::string& bytecode, const std::vector<EntryLine>& entries,
                               std::size_t end, int closingLine) {
  std::vector<int> lines;
  for (std::size_t origin : recordOrigins(bytecode)) {
    int line = closingLine;
    if (origin < end) {
      line = 0;
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

bool assembleProgram(const std::string& path, std::string source, DebugProgram& program,
                     std::vector<std::string>& messages) {
  program = DebugProgram();
  program.path = path;
  program.fromSource = true;
  prepareSourceText(source);
  program.sourceLines = linesOf(source);
  SourceAnalysis analysis;
  std::vector<ReportedError> errors;
  {
    ErrorCapture capture;
    analyseSource(std::move(source), true, analysis);
    errors = capture.errors();
  }
  // Numbered in the order found, as tarnel numbers them.
  int number = 0;
  for (const ReportedError& error : errors) messages.push_back(errorLine(++number, error.text));
  if (!errors.empty()) {
    messages.push_back(" assembled with (" + std::to_string(errors.size()) + ") error(s) ");
    return false;
  }
  {
    ErrorCapture capture;
    program.bytecode = bytecodeText(analysis.tables);
    for (const ReportedError& error : capture.errors()) {
      messages.push_back(errorLine(++number, error.text));
    }
  }
  const int closingLine =
      analysis.code.close >= 0
          ? positionIn(analysis.text, static_cast<std::size_t>(analysis.code.close)).line
          : 0;
  std::vector<EntryLine> entries;
  std::size_t end = 0;
  if (codeEntries(analysis.tables, program.bytecode, entries, end)) {
    program.recordLines = recordLinesOf(program.bytecode, entries, end, closingLine);
  } else {
    program.recordLines.assign(recordOrigins(program.bytecode).size(), 0);
  }
  return true;
}

DebugProgram bytecodeProgram(const std::string& path, std::string bytecode) {
  DebugProgram program;
  program.path = path;
  program.bytecode = std::move(bytecode);
  program.recordLines.assign(recordOrigins(program.bytecode).size(), 0);
  return program;
}
