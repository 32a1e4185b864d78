// The assembler's main operation, apart from main() so that tests can run
// it with a recording starter.
#pragma once

#include <string>
#include <vector>

#include "platform.h"

// args is the whole command line, the program's own path first. Checks
// that exactly one source path follows and that the file can be read, then
// assembles and runs it. The exit status: 0 after a run without counted
// errors whose interpreter ended with status 0, 1 for a wrong argument
// count, a missing or too large file, any counted error, or an interpreter
// that failed. The console is paused only once the source has been read.
int runAssembler(const std::vector<std::string>& args, ProgramStarter& starter);
