// tarnel: assembles one source program into a bytecode file beside itself
// and runs it on kivinterp.
//
//   tarnel source.tarnel
#include <string>
#include <vector>

#include "assembler_driver.h"
#include "console_output.h"
#include "platform.h"

int main(int argc, char** argv) {
  setUpConsoleOutput();
  std::vector<std::string> args(argv, argv + argc);
  SystemProgramStarter starter;
  return finishConsoleOutput("tarnel", runAssembler(args, starter));
}
