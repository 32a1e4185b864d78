// Helpers shared by the unit tests of the console programs: a stand-in for
// starting programs that records what it was asked to start, a fresh
// directory for each test, and whole-file reads.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform.h"

class RecordingStarter : public ProgramStarter {
 public:
  StartResult run(const std::vector<std::string>& argv) override {
    calls.push_back(argv);
    return result;
  }
  std::vector<std::vector<std::string>> calls;
  StartResult result{true, "", true};
};

// A directory of its own for each test, so that tests run in parallel never
// share a file; the path ends in '/'.
inline std::string freshDirectory() {
  std::string pattern = ::testing::TempDir() + "tarnel_test.XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) return ::testing::TempDir();
  return pattern + "/";
}

// The bytes of a file; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
