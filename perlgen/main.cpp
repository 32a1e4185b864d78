// tarnel_perl SOURCE: translates a source program into a Perl script beside
// this program and runs it with perl.
#include "console_output.h"
#include "translator_driver.h"

int main(int argc, char** argv) {
  setUpConsoleOutput();
  SystemProgramStarter starter;
  int status = runTranslator(std::vector<std::string>(argv, argv + argc), starter);
  return finishConsoleOutput("tarnel_perl", status);
}
