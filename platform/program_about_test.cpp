#include "program_about.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const ProgramAbout kDebugger{"kivdebug",
                             "[--run] PROGRAM",
                             "Runs a program.\n",
                             {{"--run", "run to the end"}, {"--max-steps N", "stop after N"}}};

TEST(AboutQuestion, AnswersOnlyALoneHelpOrVersion) {
  const struct {
    std::vector<const char*> args;  // after the program's name
    const char* wanted;             // the first line written, or nullptr for no answer
  } cases[] = {
      {{"--help"}, "usage: kivdebug [--run] PROGRAM"},
      {{"--version"}, "kivdebug "},
      {{}, nullptr},
      {{"prog.tarnel"}, nullptr},
      {{"--help", "prog.tarnel"}, nullptr},
      {{"prog.tarnel", "--version"}, nullptr},
      {{"--help", "--version"}, nullptr},
      {{"-h"}, nullptr},
      {{"--HELP"}, nullptr},
      {{"--version=1"}, nullptr},
      {{"--"}, nullptr},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv{"./kivdebug"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::ostringstream out;
    const bool answered =
        answerAboutQuestion(static_cast<int>(argv.size()), argv.data(), kDebugger, out);
    const std::string shown = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(answered, c.wanted != nullptr) << shown;
    if (c.wanted == nullptr) {
      EXPECT_EQ(out.str(), "") << shown;
    } else {
      EXPECT_EQ(out.str().compare(0, std::string(c.wanted).size(), c.wanted), 0)
          << shown << ": " << out.str();
    }
  }
}

TEST(AboutQuestion, HelpLinesUpTheProgramsOptionsWithTheCommonOnes) {
  EXPECT_EQ(helpText(kDebugger),
            "usage: kivdebug [--run] PROGRAM\n"
            "Runs a program.\n"
            "\n"
            "options:\n"
            "  --run          run to the end\n"
            "  --max-steps N  stop after N\n"
            "  --help         show this help and exit\n"
            "  --version      show the version and the license and exit\n"
            "\n"
            "The manual: man kivdebug; the language: man 7 tarnel.\n");
}

TEST(AboutQuestion, VersionNamesTheProgramTheVersionAndTheLicense) {
  const std::string text = versionText(ProgramAbout{"tarnel", "FILE.tarnel", "", {}});
  EXPECT_EQ(text.substr(0, text.find('\n')), std::string("tarnel ") + toolchainVersion());
  EXPECT_NE(text.find("\nLicense: MIT."), std::string::npos) << text;
  EXPECT_FALSE(std::string(toolchainVersion()).empty());
}

}  // namespace
