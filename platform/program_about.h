// What every program of the toolchain says about itself when asked with
// --help or --version: one form for all six, so that their texts line up.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct OptionHelp {
  const char* name;  // "--input FILE"
  const char* text;  // "read the program's input from FILE"
};

struct ProgramAbout {
  const char* name;                 // "tarnel"
  const char* arguments;            // what follows the name on the usage line
  const char* description;          // what the program does, whole lines
  std::vector<OptionHelp> options;  // the program's own, before --help and --version
};

// The version of the toolchain, the same for every program.
const char* toolchainVersion();

// "usage: NAME ARGUMENTS", the description, every option with its text
// (--help and --version last) and where the manual pages are.
std::string helpText(const ProgramAbout& about);

// "NAME VERSION", the copyright line and the license line.
std::string versionText(const ProgramAbout& about);

enum class AboutQuestion { None, Help, Version };

// Help or Version when the arguments after the program's name are exactly
// "--help" or exactly "--version"; None for any other command line, which
// is left to the program.
AboutQuestion aboutQuestion(int argc, const char* const* argv);

// For such a question, writes its text on out and returns true; false,
// writing nothing, for any other command line.
bool answerAboutQuestion(int argc, const char* const* argv, const ProgramAbout& about,
                         std::ostream& out);

// answerAboutQuestion on standard output, checked as the console programs
// check it: true when the command line was such a question, with status
// set to what main returns (1 when the text could not be written). Called
// first in main, so that neither question reads a file, pauses or opens a
// window.
bool answerAboutQuestionOnConsole(int argc, const char* const* argv, const ProgramAbout& about,
                                  int& status);
