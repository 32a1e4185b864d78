// What kivinterp does with its command line, apart from main itself, so
// that tests can run it with their own streams.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// args holds the arguments after the program name. Reads the one bytecode
// file named, once, writes debug.html and runs it, and returns 0; writes the
// usage text, or the path and " file not found.. " (or that it is too large
// or cannot be read), and returns 1 otherwise. A debug report that cannot be
// written is said on standard error; the program still runs, and 1 is
// returned. The console pause is left to the caller, which makes it on
// every path.
int runKivinterp(const std::vector<std::string>& args, std::istream& in, std::ostream& out);
