// The tarnel_check program: checks each source file named on its command
// line and reports every problem found, then one summary line; with --fix
// it first makes every safe fix in the files, with --diff it shows those
// fixes as a unified diff and writes nothing.
//
//   tarnel_check [--fix | --diff] [--format=text | --format=json] FILE...
#pragma once

#include <ostream>
#include <string>
#include <vector>

// args are the command line's arguments after the program's name. The
// result is the exit status: 0 when no error was found (warnings and notes
// allowed; after --fix or --diff, no error is left), 1 when one was, 2 for
// a wrong command line, no file at all, a file that cannot be read, or a
// fixed file that cannot be written.
int runCheck(const std::vector<std::string>& args, std::ostream& out);
