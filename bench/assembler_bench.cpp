// Assembles a generated source of 100,000 statement lines and prints how
// long the front end and the bytecode text took. The result should stay
// near a second or below; the front end grows linearly with the source.
//
//   assembler_bench [lines]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "bytecode_text.h"
#include "front_end.h"

namespace {

// A program of `lines` statements cycling through labels, one- and
// two-operand instructions and quoted literals.
std::string generateSource(long lines) {
  std::string source =
      "kiv bench {\r\nvar {\r\nvar& n := 0\r\nvar$ s := \"a, b: c\"\r\n}\r\nbegin {\r\n";
  for (long i = 0; i < lines; ++i) {
    switch (i % 4) {
      case 0:
        source += "loop" + std::to_string(i) + ":\r\n";
        break;
      case 1:
        source += "    add n, " + std::to_string(i) + "\r\n";
        break;
      case 2:
        source += "    print \"line, with: quotes\"\r\n";
        break;
      default:
        source += "    jmp loop" + std::to_string(i - 3) + "\r\n";
        break;
    }
  }
  source += "}\r\n}\r\n";
  return source;
}

}  // namespace

int main(int argc, char** argv) {
  long lines = argc > 1 ? std::atol(argv[1]) : 100000;
  if (lines < 1) lines = 100000;
  std::string path = "assembler_bench.tarnel";
  {
    std::ofstream out(path, std::ios::binary);
    out << generateSource(lines);
  }
  std::size_t bytes = 0;
  FrontEndOptions options;
  options.summaryAfterBackEnd = false;
  auto start = std::chrono::steady_clock::now();
  InputFile source = readInputFile(path);
  compileSource(path, source, options, [&](const std::string&, const ProgramTables& tables) {
    bytes = bytecodeText(tables).size();
  });
  auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
  std::remove(path.c_str());
  std::cout << "assembled " << lines << " statement lines into " << bytes
            << " bytes of bytecode in " << elapsed.count() << " s\n";
  return errorCount == 0 ? 0 : 1;
}
