// Writing the Perl script beside the translator and running it with perl.
#pragma once

#include <string>

#include "platform.h"
#include "program_tables.h"

// The script's path: programDirectory, objectName, then ".pl".
std::string perlScriptPath(const std::string& programDirectory, const std::string& objectName);

// Writes the script for tables to perlScriptPath byte for byte, replacing
// any earlier one, then runs {"perl", path} through starter and waits for
// it. Errors go through reportError: those found in the statements (the
// script is still written and run without them), "cannot write %s" (perl
// is then not started; an earlier script stays as it was) and "cannot start
// %s: %s". True when perl ran the script and ended with status 0.
bool writePerlScript(const std::string& objectName, const ProgramTables& tables,
                     const std::string& programDirectory, ProgramStarter& starter);
