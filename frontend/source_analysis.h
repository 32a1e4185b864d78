// The front end's work on one source text, from normalisation to the
// filled tables, without the back end: what compileSource runs before it
// hands over, and what a checker runs on a text held in memory.
#pragma once

#include <string>

#include "block_search.h"
#include "program_tables.h"

// The structural check at which the analysis stopped, having reported it.
enum class SourceStop {
  None,             // every block was found; both parsers ran
  BraceBalance,     // the counts of "{" and "}" differ
  ObjectKeyword,    // no "kiv"
  ObjectBrace,      // no "{" after "kiv"
  VariableKeyword,  // no "var"
  VariableBraces,   // no "{" after "var", or no "}" after that
  CodeKeyword,      // no "begin"; the declarations were parsed
  CodeBraces,       // no "{" after "begin", or no "}" after that; likewise
};

struct SourceAnalysis {
  std::string text;  // the normalised text: lower case, comments removed
  std::string objectName;
  ProgramTables tables;
  BlockOffsets object;  // offsets into text
  BlockOffsets variables;
  BlockOffsets code;
  SourceStop stop = SourceStop::None;
};

// Normalises source (a file's bytes as readWholeFile hands them on), checks
// the braces, finds the blocks and parses them into a fresh analysis,
// reporting every error through reportError as it goes; it stops at the
// first structural error. collapseSpacing is the statement parser's option
// (FrontEndOptions). Without parseCode the code block is found but its
// statements are left unparsed, for a reader that parses them a part at a
// time (code.open and code.close say where they stand in text).
void analyseSource(std::string source, bool collapseSpacing, SourceAnalysis& analysis,
                   bool parseCode = true);
