// tarnel: assembles one source program into a bytecode file beside itself
// and runs it on kivinterp.
//
//   tarnel source.tarnel
#include <string>
#include <vector>

#include "assembler_driver.h"
#include "console_output.h"
#include "platform.h"
#include "program_about.h"

namespace {
const ProgramAbout kAbout{
    "tarnel",
    "FILE.tarnel",
    "Assembles the Tarnel program FILE.tarnel into a bytecode file and runs it\n"
    "on kivinterp. The bytecode file is named after the program's object and\n"
    "written beside tarnel, or into the current directory when tarnel was\n"
    "found through PATH.\n",
    {}};
}  // namespace

int main(int argc, char** argv) {
  int about = 0;
  if (answerAboutQuestionOnConsole(argc, argv, kAbout, about)) return about;
  setUpConsoleOutput();
  std::vector<std::string> args(argv, argv + argc);
  SystemProgramStarter starter;
  return finishConsoleOutput("tarnel", runAssembler(args, starter));
}
