// kivinterp: runs one bytecode file on the console.
//
//   kivinterp sourcefile.kiv
#include <iostream>
#include <string>
#include <vector>

#include "console_output.h"
#include "kivinterp_driver.h"
#include "platform.h"

int main(int argc, char** argv) {
  setUpConsoleOutput();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  int status = runKivinterp(args, std::cin, std::cout);
  std::cout.flush();
  pauseConsole();
  return finishConsoleOutput("kivinterp", status);
}
