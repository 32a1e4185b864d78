// The tarnel_check program: checks each source file named on its command
// line and reports every problem found, then one summary line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// files are the command line's arguments after the program's name. The
// result is the exit status: 0 when no error was found (warnings and notes
// allowed), 1 when one was, 2 for no file at all or a file that cannot be
// read.
int runCheck(const std::vector<std::string>& files, std::ostream& out);
