// The declaration lines of the variable block.
#pragma once

#include <string>

#include "program_tables.h"
#include "source_position.h"

// declaration = ("var&" | "var$" | "var#") " " name [" := " value] CR
//
// Fills tables.variables from the block text, one slot per line. Lines of
// three bytes or fewer are passed over (empty lines, the CR after "var {",
// short indentation before "}"); every other line that is not a declaration
// is reported as "invalid variable decleration" and left out, and parsing
// goes on with the next line. Names and values are not checked further: a
// string value keeps its quotes, and a name declared twice is stored twice.
//
// blockStart is the place of the block's first byte in the source; each
// slot, and each rejected line's report, carries the place of its line.
void parseDeclarations(const std::string& block, ProgramTables& tables,
                       SourcePosition blockStart = {1, 1});
