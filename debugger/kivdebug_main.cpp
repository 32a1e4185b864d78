// kivdebug: runs a Tarnel program step by step, at the lines it was
// written in, or to its end with a trace.
//
//   kivdebug [--input FILE] [--run | --trace] [--max-steps N] PROGRAM
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "console_output.h"
#include "kivdebug_driver.h"

namespace {

// Whether two descriptors reach the same file or terminal.
bool sameFile(int first, int second) {
  struct stat a {};
  struct stat b {};
  return fstat(first, &a) == 0 && fstat(second, &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

}  // namespace

int main(int argc, char** argv) {
  setUpConsoleOutput();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  KivdebugConsole console;
  console.terminal = isatty(STDIN_FILENO) != 0;
  console.sharedOutput = sameFile(STDOUT_FILENO, STDERR_FILENO);
  const int status = runKivdebug(args, std::cin, std::cout, std::cerr, console);
  return finishConsoleOutput("kivdebug", status);
}
