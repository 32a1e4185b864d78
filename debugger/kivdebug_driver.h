// What kivdebug does with its command line, apart from main itself, so that
// tests can run it with their own streams.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// args are the arguments after the program's name; in, out and err are the
// console, terminal says whether in is a terminal (then commands and the
// program's input are read with line editing, and an interrupt stops a
// run between two records). Returns the exit status: 0 after a session or
// a batch run that ended by itself, 2 when --max-steps stopped the run, 1
// for a wrong command line or a program or input file that cannot be read
// or assembled.
int runKivdebug(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, bool terminal);
