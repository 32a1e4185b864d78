// tarnel_perl SOURCE: translates a source program into a Perl script beside
// this program and runs it with perl.
#include "console_output.h"
#include "program_about.h"
#include "translator_driver.h"

namespace {
const ProgramAbout kAbout{
    "tarnel_perl",
    "FILE.tarnel",
    "Translates the Tarnel program FILE.tarnel into a Perl script and runs it\n"
    "with perl. The script is named after the program's object and written\n"
    "beside tarnel_perl, or into the current directory when tarnel_perl was\n"
    "found through PATH.\n",
    {}};
}  // namespace

int main(int argc, char** argv) {
  int about = 0;
  if (answerAboutQuestionOnConsole(argc, argv, kAbout, about)) return about;
  setUpConsoleOutput();
  SystemProgramStarter starter;
  int status = runTranslator(std::vector<std::string>(argv, argv + argc), starter);
  return finishConsoleOutput("tarnel_perl", status);
}
