// Reading the program named on kivdebug's command line and making it ready
// for the debugging core.
#pragma once

#include <iosfwd>
#include <string>

#include "debug_program.h"

// Reads the file at path, once, and makes it ready: a name ending in .kiv
// (in any case) as bytecode, any other as a source program assembled as
// tarnel does. Every message (a file that cannot be read, a directory, the
// assembler's error lines) goes to messages, one line each. errorsCounted
// is set when the assembler counted errors, also where the program still
// runs (an unknown instruction is left out). False when the run must not
// start.
// True when path names a directory.
bool isDirectory(const std::string& path);

bool loadProgramFile(const std::string& path, DebugProgram& program, std::ostream& messages,
                     bool& errorsCounted);
