// tarnel_check: reports every problem of one or more source programs, with
// its line and column, without assembling or running anything.
//
//   tarnel_check [--fix | --diff] [--format=text | --format=json] source.tarnel...
#include <iostream>
#include <string>
#include <vector>

#include "check_driver.h"
#include "console_output.h"
#include "program_about.h"

namespace {
const ProgramAbout kAbout{
    "tarnel_check",
    "FILE.tarnel...",
    "Reports every problem of the Tarnel programs with its line and column,\n"
    "and runs nothing. Exit status: 0 when no error was found, 1 when one was,\n"
    "2 when a file cannot be read.\n",
    {}};
}  // namespace

int main(int argc, char** argv) {
  int about = 0;
  if (answerAboutQuestionOnConsole(argc, argv, kAbout, about)) return about;
  setUpConsoleOutput();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  // Output that could not be written is trouble of the run, as an
  // unreadable file is, not an error found in a program.
  return finishConsoleOutput("tarnel_check", runCheck(args, std::cout), 2);
}
