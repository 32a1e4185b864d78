// The Perl word lists against the perl installed: each listed word breaks
// a script as tarnel_perl would write it, and ordinary names do not.
#include "perl_words.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

// Runs perl on a script made of lines (CR LF ends, as tarnel_perl writes
// them); true when it prints "ok".
bool perlPrintsOk(const std::string& name, const std::vector<std::string>& lines) {
  std::string script = ::testing::TempDir() + "perl_words_" + name + ".pl";
  std::string output = script + ".out";
  {
    std::ofstream out(script, std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
  }
  std::string command = "perl " + script + " >" + output + " 2>/dev/null </dev/null";
  int status = std::system(command.c_str());
  std::ifstream in(output, std::ios::binary);
  std::string printed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(script.c_str());
  std::remove(output.c_str());
  return status == 0 && printed == "ok";
}

bool labelLineRuns(const std::string& word) {
  return perlPrintsOk(word + "_label", {word + ":", "printf(\"ok\");"});
}

bool gotoReachesLabel(const std::string& word) {
  return perlPrintsOk(word + "_goto",
                      {"goto " + word + ";", "printf(\"bad\");", word + ":", "printf(\"ok\");"});
}

const char* const kListed[] = {"next", "last", "redo", "print", "time", "if", "eq", "x"};
const char* const kQuoteOperators[] = {"m", "q", "qq", "qr", "qw", "qx", "s", "tr", "y"};
const char* const kOrdinary[] = {"top", "again", "done", "loop", "found", "end", "say", "when"};

TEST(PerlWords, ListedWordsBreakTheScriptAndOrdinaryOnesDoNot) {
  for (const char* word : kQuoteOperators) {
    EXPECT_TRUE(isPerlQuoteOperator(word)) << word;
    EXPECT_FALSE(labelLineRuns(word)) << word;
  }
  for (const char* word : kListed) {
    if (std::string(word) == "x") {
      EXPECT_FALSE(isPerlReservedWord(word));  // "goto x" reaches "x:" after all
      EXPECT_TRUE(gotoReachesLabel(word));
      continue;
    }
    EXPECT_TRUE(isPerlReservedWord(word)) << word;
    EXPECT_FALSE(gotoReachesLabel(word)) << word;
  }
  for (const char* word : kOrdinary) {
    EXPECT_FALSE(isPerlReservedWord(word)) << word;
    EXPECT_FALSE(isPerlQuoteOperator(word)) << word;
    EXPECT_TRUE(labelLineRuns(word)) << word;
    EXPECT_TRUE(gotoReachesLabel(word)) << word;
  }
}

TEST(PerlWords, TellsNamesFromOtherWords) {
  for (const char* name : {"a", "_x", "count2", "my_var", "N"}) EXPECT_TRUE(isPerlName(name));
  for (const char* word : {"", "1st", "my-var", "x:=5", "a b", "\xC3\xA9t\xC3\xA9"}) {
    EXPECT_FALSE(isPerlName(word)) << word;
  }
}

}  // namespace
