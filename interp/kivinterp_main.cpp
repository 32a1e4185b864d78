// kivinterp: runs one bytecode file on the console.
//
//   kivinterp sourcefile.kiv
#include <iostream>
#include <string>
#include <vector>

#include "console_output.h"
#include "kivinterp_driver.h"
#include "platform.h"
#include "program_about.h"

namespace {
const ProgramAbout kAbout{
    "kivinterp",
    "FILE.kiv",
    "Loads the bytecode file FILE.kiv, writes its report debug.html into the\n"
    "current directory and runs the program on the console.\n",
    {}};
}  // namespace

int main(int argc, char** argv) {
  int about = 0;
  if (answerAboutQuestionOnConsole(argc, argv, kAbout, about)) return about;
  setUpConsoleOutput();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  int status = runKivinterp(args, std::cin, std::cout);
  std::cout.flush();
  pauseConsole();
  return finishConsoleOutput("kivinterp", status);
}
