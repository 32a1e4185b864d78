// The --help and --version texts of the toolchain's programs.
#include "program_about.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "console_output.h"

#ifndef TARNEL_VERSION
#error "TARNEL_VERSION is set by the build from the project's version"
#endif

namespace {

const OptionHelp kCommonOptions[] = {
    {"--help", "show this help and exit"},
    {"--version", "show the version and the license and exit"},
};

void appendOption(std::string& text, const OptionHelp& option, std::size_t width) {
  text += "  ";
  text += option.name;
  text.append(width - std::strlen(option.name) + 2, ' ');
  text += option.text;
  text += '\n';
}

}  // namespace

const char* toolchainVersion() { return TARNEL_VERSION; }

std::string helpText(const ProgramAbout& about) {
  std::size_t width = 0;
  for (const OptionHelp& option : about.options) width = std::max(width, std::strlen(option.name));
  for (const OptionHelp& option : kCommonOptions) width = std::max(width, std::strlen(option.name));

  std::string text = std::string("usage: ") + about.name + " " + about.arguments + "\n";
  text += about.description;
  text += "\noptions:\n";
  for (const OptionHelp& option : about.options) appendOption(text, option, width);
  for (const OptionHelp& option : kCommonOptions) appendOption(text, option, width);
  text += std::string("\nThe manual: man ") + about.name + "; the language: man 7 tarnel.\n";
  return text;
}

std::string versionText(const ProgramAbout& about) {
  return std::string(about.name) + " " + toolchainVersion() +
         "\n"
         "Copyright 2026 the Tarnel developers\n"
         "License: MIT. You may use, copy, change and pass on this software;\n"
         "it comes with no warranty.\n";
}

AboutQuestion aboutQuestion(int argc, const char* const* argv) {
  if (argc != 2 || argv[1] == nullptr) return AboutQuestion::None;
  if (std::strcmp(argv[1], "--help") == 0) return AboutQuestion::Help;
  if (std::strcmp(argv[1], "--version") == 0) return AboutQuestion::Version;
  return AboutQuestion::None;
}

bool answerAboutQuestion(int argc, const char* const* argv, const ProgramAbout& about,
                         std::ostream& out) {
  switch (aboutQuestion(argc, argv)) {
    case AboutQuestion::Help:
      out << helpText(about) << std::flush;
      return true;
    case AboutQuestion::Version:
      out << versionText(about) << std::flush;
      return true;
    case AboutQuestion::None:
      break;
  }
  return false;
}

bool answerAboutQuestionOnConsole(int argc, const char* const* argv, const ProgramAbout& about,
                                  int& status) {
  if (aboutQuestion(argc, argv) == AboutQuestion::None) return false;
  setUpConsoleOutput();
  answerAboutQuestion(argc, argv, about, std::cout);
  status = finishConsoleOutput(about.name, 0);
  return true;
}
