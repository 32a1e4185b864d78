// The tarnel_perl program: checks its command line and the source file,
// runs the front end and, when it counted no error, writes the Perl script
// and runs it.
#pragma once

#include <string>
#include <vector>

#include "platform.h"

// args is the whole command line, the program's own path first. Returns the
// exit status: 0 after a translation without counted errors whose script
// perl ran to a status of 0, 1 otherwise.
int runTranslator(const std::vector<std::string>& args, ProgramStarter& starter);
