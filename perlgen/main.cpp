// tarnel_perl SOURCE: translates a source program into a Perl script beside
// this program and runs it with perl.
#include "translator_driver.h"

int main(int argc, char** argv) {
  SystemProgramStarter starter;
  return runTranslator(std::vector<std::string>(argv, argv + argc), starter);
}
