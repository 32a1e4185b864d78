// What kivinterp does with its command line, apart from main itself, so
// that tests can run it with their own streams.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// args holds the arguments after the program name. Runs the one bytecode
// file named and returns 0; writes the usage text, or the path and
// " file not found.. ", and returns 1 otherwise. The console pause is left
// to the caller, which makes it on every path.
int runKivinterp(const std::vector<std::string>& args, std::istream& in, std::ostream& out);
