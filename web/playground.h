// What the web page asks of the toolchain, on texts held in memory: the
// files tarnel and tarnel_perl write for a source text with the lines they
// show on their console, and the checker's report. Runs go through the
// debugging core (page_session.h).
//
// Every text here is bytes, as the programs read them from a file: the page
// hands the source over in the encoding it saves it in. Nothing here writes
// a file, starts a program or waits for a key.
#pragma once

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
std::string checkReport(const std::string& fileName, const std::string& source);

// What `tarnel_check --format=json fileName` writes for a file holding
// source: the checker's JSON document (json_report.h), with every
// diagnostic's notes and fix-its.
std::string checkJson(const std::string& fileName, const std::string& source);

// A quick fix made on a text.
struct FixResult {
  bool applied = false;  // false: no such fix, or it does not fit the text
  std::string text;      // the text with the fix made; else the text given
};

// Makes the fix-it numbered fix (from 0) of the diagnostic numbered
// diagnostic (from 0, in checkJson's order) on source, through the one
// function tarnel_check --fix makes fixes with.
FixResult applyFix(const std::string& source, int diagnostic, int fix);

// What `tarnel_check --fix` leaves in a file holding source: the text with
// every safe fix made, round after round (fix_apply.h's fixSafely).
std::string fixAll(const std::string& source);
