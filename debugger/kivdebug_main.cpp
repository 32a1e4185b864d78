// kivdebug: runs a Tarnel program step by step, at the lines it was
// written in, or to its end with a trace.
//
//   kivdebug [--input FILE] [--run | --trace] [--max-steps N] PROGRAM
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "console_output.h"
#include "kivdebug_driver.h"

int main(int argc, char** argv) {
  setUpConsoleOutput();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const int status = runKivdebug(args, std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) != 0);
  return finishConsoleOutput("kivdebug", status);
}
