// Running a program as its own process and measuring it, for the benchmarks
// that hold a toolchain program against a peer side by side.
#pragma once

#include <string>
#include <vector>

struct Measure {
  double seconds = 0;     // wall time
  double cpuSeconds = 0;  // user and system time of the process
  double megabytes = 0;   // peak resident memory
  bool ok = false;        // started, and exited with status 0
};

// Runs argv (argv[0] looked up on PATH unless it holds a slash) in
// directory, with standard input and output on /dev/null, and waits for it.
// A process that could not be started or waited for gives zero figures.
Measure runOnce(const std::vector<std::string>& argv, const std::string& directory);
