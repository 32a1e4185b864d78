// Load time of kivinterp for growing bytecode files: one label entry in ten,
// each jump naming a label before or after it, as assembled programs do.
// The time should grow about linearly with the number of entries.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "interpreter.h"

namespace {

std::string generatedFile(int entries) {
  std::string text = "var{n&:0,con0&:0}code{";
  const int labels = entries / 10;
  for (int i = 0; i < entries; ++i) {
    if (i % 10 == 0) {
      text += "l" + std::to_string(i / 10) + "@,";
    } else if (i % 10 == 5) {
      int target = static_cast<int>((static_cast<long long>(i) * 7919) % labels);
      text += std::to_string(15 + i % 7) + "!l" + std::to_string(target) + ":0,";
    } else {
      text += "2!n:0,";
    }
  }
  return text + "stop@,0!0:0}";
}

}  // namespace

int main() {
  std::printf("%10s %10s %12s\n", "entries", "labels", "load ms");
  const std::string path = "label_resolution_bench.kiv";
  for (int entries = 25000; entries <= 400000; entries *= 2) {
    {
      std::ofstream file(path, std::ios::binary | std::ios::trunc);
      file << generatedFile(entries);
    }
    Interpreter interpreter;
    auto start = std::chrono::steady_clock::now();
    interpreter.load(path);
    auto stop = std::chrono::steady_clock::now();
    double ms = std::chrono::duration<double, std::milli>(stop - start).count();
    std::printf("%10d %10d %12.1f\n", entries, entries / 10, ms);
  }
  std::remove(path.c_str());
  return 0;
}
