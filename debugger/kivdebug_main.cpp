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
#include "program_about.h"

namespace {
const ProgramAbout kAbout{
    "kivdebug",
    "[--input FILE] [--run | --trace] [--max-steps N] PROGRAM.kiv|PROGRAM.tarnel",
    "Runs a Tarnel program record by record: without --run, --trace or --max-steps\n"
    "it reads commands (\"help\" lists them); with them it runs to the end.\n",
    {{"--input FILE", "take the program's input from FILE"},
     {"--run", "run the program to its end"},
     {"--trace", "run to the end, writing each record carried out on standard error"},
     {"--max-steps N", "run to the end, but stop after N records (exit status 2)"}}};
}  // namespace

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
  int about = 0;
  if (answerAboutQuestionOnConsole(argc, argv, kAbout, about)) return about;
  setUpConsoleOutput();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  KivdebugConsole console;
  console.terminal = isatty(STDIN_FILENO) != 0;
  console.sharedOutput = sameFile(STDOUT_FILENO, STDERR_FILENO);
  const int status = runKivdebug(args, std::cin, std::cout, std::cerr, console);
  return finishConsoleOutput("kivdebug", status);
}
