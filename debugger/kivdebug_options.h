// kivdebug's command line.
//
//   kivdebug [--input FILE] [--run | --trace] [--max-steps N] PROGRAM
//
// Any of --run, --trace and --max-steps asks for a batch run; without them
// the session is interactive.
#pragma once

#include <string>
#include <vector>

#include "command_parser.h"

struct KivdebugOptions {
  std::string program;
  bool hasInput = false;
  std::string inputPath;
  bool run = false;
  bool trace = false;
  bool limited = false;
  unsigned long long maxSteps = 0;
  bool help = false;

  bool batch() const { return run || trace || limited; }
};

// The largest --max-steps accepted.
constexpr unsigned long long kMaxStepLimit = 1000000000000000000ULL;

constexpr char kKivdebugUsage[] =
    "usage: kivdebug [--input FILE] [--run | --trace] [--max-steps N] PROGRAM.kiv|PROGRAM.tarnel";

// args are the arguments after the program's name. False with problem set
// (one line, without its line end) when they are wrong.
bool parseKivdebugOptions(const std::vector<std::string>& args, KivdebugOptions& options,
                          std::string& problem);
