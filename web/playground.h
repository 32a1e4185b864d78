// What the web page asks of the toolchain, on texts held in memory: the
// files tarnel and tarnel_perl write for a source text with the lines they
// show on their console, the checker's report, and a run of a bytecode
// text in bounded slices.
//
// Every text here is bytes, as the programs read them from a file: the page
// hands the source over in the encoding it saves it in. Nothing here writes
// a file, starts a program or waits for a key.
#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

// What a translator makes of one source text.
struct TranslatorResult {
  // True when no counted error stopped the front end: fileText is then the
  // whole file the translator writes, even when the back end left out an
  // unknown instruction (said in console).
  bool written = false;
  // The object name the file is named after ("demo" for demo.kiv).
  std::string objectName;
  std::string fileText;
  // The translator's console before it starts the next program: the
  // numbered error lines and, when they stopped it, the closing count line.
  std::string console;
  // tarnel only: the count line it writes once the interpreter has ended;
  // empty when nothing was run.
  std::string closingLine;
};

// The bytecode file tarnel writes for source, and its console.
TranslatorResult assembleText(std::string source);

// The Perl script tarnel_perl writes for source, and its console.
TranslatorResult translateText(std::string source);

// What `tarnel_check fileName` writes for a file holding source: every
// diagnostic with its source line and caret, then the count line.
std::string checkReport(const std::string& fileName, std::string source);

// The checker's diagnostics of source as a JSON array (diagnostics_json.h).
std::string diagnosticsJson(std::string source);

class Interpreter;
class ExecutionEngine;

// A bytecode text loaded as kivinterp loads it and run a bounded number of
// steps at a time, so that its caller can stay responsive and stop a
// program that never ends. input is the program's whole console input; an
// input past its end reads the empty text, as at the end of a file.
class BytecodeRun {
 public:
  BytecodeRun(const std::string& bytecode, std::string input);
  ~BytecodeRun();
  BytecodeRun(const BytecodeRun&) = delete;
  BytecodeRun& operator=(const BytecodeRun&) = delete;

  // Carries out at most maxSteps more steps; true while the run goes on.
  bool advance(uint32_t maxSteps);
  bool finished() const;
  // Steps carried out so far (a label is no step; the final halt is one).
  double steps() const;
  // The program's output written since the last call.
  std::string takeOutput();

 private:
  std::istringstream in_;
  std::ostringstream out_;
  std::unique_ptr<Interpreter> program_;
  std::unique_ptr<ExecutionEngine> engine_;
};
