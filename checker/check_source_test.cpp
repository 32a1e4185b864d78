// checkSource on whole programs: the places and kinds of its diagnostics,
// the rules that decide between a warning and silence, and the examples.
#include "check_source.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "fix_apply.h"
#include "front_end.h"
#include "source_file.h"

namespace {

// A diagnostic as "LINE:COLUMN kind: the message's first words", enough to
// tell the kinds apart; the messages themselves are pinned end to end.
std::string describe(const Diagnostic& diagnostic, std::size_t words = 4) {
  const char* kind = diagnostic.severity == Severity::Error     ? "error"
                     : diagnostic.severity == Severity::Warning ? "warning"
                                                                : "note";
  std::string start;
  std::size_t at = 0;
  for (std::size_t n = 0; n < words && at != std::string::npos; ++n) {
    at = diagnostic.message.find(' ', at + 1);
  }
  start = diagnostic.message.substr(0, at);
  return std::to_string(diagnostic.line) + ":" + std::to_string(diagnostic.column) + " " + kind +
         ": " + start;
}

std::vector<std::string> check(const std::string& source) {
  std::vector<std::string> found;
  for (const Diagnostic& diagnostic : checkSource(source)) found.push_back(describe(diagnostic));
  return found;
}

// A program whose begin block holds code and whose var block holds vars.
std::string program(const std::string& vars, const std::string& code) {
  return "kiv test {\nvar {\n" + vars + "}\nbegin {\n" + code + "}\n}\n";
}

TEST(CheckSource, FindsTheFourProblemsOfTheLearnersProgram) {
  const std::string source =
      "kiv pit {\n"
      "var {\n"
      "var& count := 2\n"
      "var& x\n"
      "}\n"
      "begin {\n"
      "    loop:\n"
      "inc count;note\n"
      "done: inc x\n"
      "print count\n"
      "jmp loop\n"
      "jmp fin}\n"
      "}\n";
  std::vector<Diagnostic> diagnostics = checkSource(source);
  ASSERT_EQ(diagnostics.size(), 4u);
  EXPECT_EQ(describe(diagnostics[0]), "7:5 warning: this label is indented,");
  ASSERT_EQ(diagnostics[0].notes.size(), 1u);
  EXPECT_EQ(diagnostics[0].notes[0].line, 11);  // the jump that misses it
  EXPECT_EQ(diagnostics[0].notes[0].column, 5);
  EXPECT_EQ(describe(diagnostics[1], 5), "8:9 warning: the comment right after \"inc");
  EXPECT_NE(diagnostics[1].message.find("tarnel reads \"inc coun\""), std::string::npos);
  EXPECT_EQ(describe(diagnostics[2]), "9:7 warning: tarnel ignores the text");
  EXPECT_EQ(diagnostics[2].length, 5);  // "inc x"
  EXPECT_EQ(describe(diagnostics[3]), "12:7 warning: the block's closing \"}\"");
  EXPECT_NE(diagnostics[3].message.find("tarnel reads \"jmp fi\""), std::string::npos);
  // The same text with CR LF line ends and in capitals reads the same.
  std::string shouting;
  for (char c : source) {
    if (c == '\n') shouting += '\r';
    shouting += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  std::vector<std::string> again = check(shouting);
  std::vector<std::string> first = check(source);
  EXPECT_EQ(again.size(), first.size());
  for (std::size_t i = 0; i < first.size() && i < again.size(); ++i) {
    EXPECT_EQ(again[i].substr(0, again[i].find(' ')), first[i].substr(0, first[i].find(' ')));
  }
}

TEST(CheckSource, LeavesTheFrontEndsCountAndConsoleAlone) {
  errorCount = 0;
  ::testing::internal::CaptureStdout();
  checkSource("var {\n");
  checkSource(program("var& x\n", "ret\n"));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(errorCount, 0);
}

struct RuleCase {
  const char* name;
  std::string source;
  std::vector<std::string> wanted;
};

TEST(CheckSource, WarnsOnlyWhereTheToolsGoWrong) {
  const RuleCase cases[] = {
      {"clean", program("var& n := 1\n", "top:\n  dec n\n  cmp n,0\n  jg top\n"), {}},
      {"blank before a comment keeps the statement",
       program("var& n\n", "inc n ; one more\ninc n\t; a tab\nprint n\n"),
       {}},
      {"columns are the written ones after collapsed blanks",
       program("", "    mov     nothing ,  5\n"),
       {"5:13 warning: \"nothing\" names no declared"}},
      {"the con0 that tarnel declares is a variable", program("", "inc con0\n"), {}},
      {"jmp stop ends the program",
       program("", "jmp stop\n"),
       {"5:5 note: for tarnel_perl: the script"}},
      {"an indented label that no jump names is harmless",
       program("var& n\n", "  top:\nprint n\n"),
       {}},
      {"a label defined twice matters only when jumped to",
       program("var& n\n", "a1:\na1:\nprint n\n"),
       {}},
      {"a keyword label matters only when jumped to", program("var& n\n", "next:\nprint n\n"), {}},
      {"a number or a text after \", \" reads the same in Perl",
       program("var& n\nvar$ s\n", "cmp n, 0\nmov s, \"a b\"\nprint s\n"),
       {}},
      {"a semicolon in the comment of a quote-free line",
       program("var& n\n", "print n ; say \"a;b\"\n"),
       {}},
      {"commas and colons between quotes make no label", program("", "print \"a, b: c\"\n"), {}},
      {"a keyword inside a word that leads to the same block",
       "kiv ok {\nvar {\nvar$ beginner\n}\nbegin {\nprint beginner\n}\n}\n",
       {}},
      {"a keyword inside a word that takes another block",
       "kiv beginner {\nvar {\n}\nbegin {\nprint \"x\"\n}\n}\n",
       {"1:5 warning: tarnel's search for \"begin\"", "2:1 error: \"var\" is not one"}},
      {"an empty file", "", {"1:1 error: the program has no"}},
      {"a NUL byte ends the text", program("", "print \"a\"\n") + std::string("\0jmp x\n", 7), {}},
      {"a declaration without blanks around := hides the name",
       program("var& x:=5\n", "inc x\n"),
       {"3:6 warning: \":=\" needs a blank", "6:5 warning: \"x\" names no declared"}},
      {"a line of one word and a tab before the mnemonic",
       program("var& n\n", "print\n\tinc n\nprint n\n"),
       {"6:1 error: \"print\" needs an operand,", "7:1 error: a tab before the"}},
      {"the brace on a statement line cuts the last operand",
       "kiv t {\nvar {\nvar& n\n}\nbegin {\nprint n}\n}\n",
       {"6:7 warning: the block's closing \"}\""}},
      {"a quoted brace unbalances the file",
       program("", "print \"{\"\n"),
       {"5:8 error: this \"{\" between double"}},
      {"a missing brace",
       "kiv t {\nvar {\n}\nbegin {\nprint \"a\"\n}\n",
       {"1:7 error: no \"}\" closes the"}},
  };
  for (const RuleCase& c : cases) {
    EXPECT_EQ(check(c.source), c.wanted) << c.name;
  }
}

TEST(CheckSource, ExplainsEachRejectedDeclaration) {
  std::vector<std::string> found = check(
      program(" var& a\nvar& b \nvar& c ;x\nint d\nvar&\te\nvar& f  g\nvar& h = 1\n", "print a\n"));
  const std::vector<std::string> wanted = {
      "3:1 error: declarations start in the",
      "4:7 error: a blank at the",
      "5:7 error: the blank before the",
      "6:1 error: \"int\" is not a",
      "7:5 error: a tab does not",
      "8:7 error: two blanks in a",
      "9:8 error: \"=\" stands where \":=\"",
  };
  EXPECT_EQ(std::vector<std::string>(found.begin(), found.begin() + 7), wanted);
}

// Texts made of the bytes and words the front end and the checker look
// at, in any order: the checker must return, whatever it is given.
TEST(CheckSource, SurvivesArbitraryText) {
  const std::vector<std::string> pieces = {
      "kiv ",     "var ", "begin ", "{",    "}",    "\"",     ";",    ":",
      ",",        " ",    "  ",     "\t",   "\r",   "\n",     "\r\n", "x",
      "var& ",    ":= ",  "jmp ",   "inc ", "mov ", "print ", "stop", std::string(1, '\0'),
      "\xC3\xA9", "y:",   "next"};
  const std::size_t count = pieces.size();
  unsigned state = 12345;
  for (int text = 0; text < 3000; ++text) {
    std::string source = text % 2 == 0 ? "kiv a {\nvar {\n" : "";
    int length = static_cast<int>(state % 40);
    for (int i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      source += pieces[(state >> 16) % count];
    }
    // Every range lies inside its line (at most one byte just past it).
    std::vector<int> widths;
    std::string prepared = source;
    prepareSourceText(prepared);
    for (std::size_t start = 0;;) {
      std::size_t feed = prepared.find('\n', start);
      std::size_t end = feed == std::string::npos ? prepared.size() : feed;
      if (end > start && prepared[end - 1] == '\r') --end;
      widths.push_back(static_cast<int>(end - start));
      if (feed == std::string::npos) break;
      start = feed + 1;
    }
    auto inside = [&](int line, int column, int width) {
      if (line < 1 || line > static_cast<int>(widths.size()) || column < 1 || width < 1) {
        return false;
      }
      int bytes = widths[static_cast<std::size_t>(line - 1)];
      return column + width - 1 <= bytes || (column == bytes + 1 && width == 1);
    };
    for (const Diagnostic& diagnostic : checkSource(source)) {
      EXPECT_TRUE(inside(diagnostic.line, diagnostic.column, diagnostic.length))
          << describe(diagnostic) << " in\n"
          << source;
      for (const DiagnosticNote& note : diagnostic.notes) {
        EXPECT_TRUE(inside(note.line, note.column, note.length)) << note.message << source;
      }
    }
    state = state * 1103515245u + 12345u;
  }
}

// A brace or block error no longer hides the rest: what is found after the
// checker's repair is marked so, with a note at the error.
TEST(CheckSource, ReadsOnAfterABraceOrBlockError) {
  struct Case {
    const char* name;
    std::string source;
    std::vector<std::string> wanted;  // "*" ends those found after the repair
  };
  const Case cases[] = {
      {"the var block's \"}\" missing",
       "kiv t {\nvar {\nvar& n\nvar& unused\nbegin {\ninc n\ninc m\nprint n\n}\n}\n",
       {"2:5 error: no \"}\" closes the", "4:6 warning: \"unused\" is declared but",
        "7:5 warning: \"m\" names no declared *"}},
      {"the begin block's \"}\" missing",
       "kiv t {\nvar {\nvar& n\n}\nbegin {\n\tinc n\nprint n\n}\n",
       {"1:7 error: no \"}\" closes the", "6:1 error: a tab before the"}},
      {"one \"}\" too many",
       "kiv t {\nvar {\nvar& n\n}\n}\nbegin {\ninc m\nprint n\n}\n}\n",
       {"5:1 error: no \"{\" opens this", "7:5 warning: \"m\" names no declared *"}},
      {"a header without its brace",
       "kiv t\nvar {\nvar& n\n}\nbegin {\ninc m\nprint n\n}\n}\n",
       {"1:1 error: the header has no", "6:5 warning: \"m\" names no declared *"}},
      {"a quote left open hides the block's end",
       "kiv t {\nvar {\nvar& n\n}\nbegin {\nprint \"a;b\"\ninc m\nprint n\n}\n}\n",
       {"5:7 error: no \"}\" closes the", "6:9 warning: this \";\" starts a",
        "7:5 warning: \"m\" names no declared *"}},
      {"no header and no final brace",
       "var {\nvar& n\n}\nbegin {\ninc m\nprint n\n}\n",
       {"7:2 error: the program has no", "5:5 warning: \"m\" names no declared *"}},
      {"no var block",
       "kiv t {\nbegin {\ninc m\n}\n}\n",
       {"5:2 error: the program has no", "3:5 warning: \"m\" names no declared *"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> found;
    for (const Diagnostic& diagnostic : checkSource(c.source)) {
      std::string shown = describe(diagnostic);
      if (diagnostic.afterRecovery) {
        shown += " *";
        EXPECT_EQ(diagnostic.notes.back().message.find("this may follow from the error on line"),
                  0u)
            << c.name;
        for (const FixIt& fix : diagnostic.fixes) EXPECT_FALSE(fix.safe) << c.name;
      }
      found.push_back(shown);
    }
    std::vector<std::string> sortedFound = found;
    std::vector<std::string> sortedWanted = c.wanted;
    std::sort(sortedFound.begin(), sortedFound.end());
    std::sort(sortedWanted.begin(), sortedWanted.end());
    EXPECT_EQ(sortedFound, sortedWanted) << c.name;
  }
}

struct FixCase {
  const char* name;
  std::string source;
  std::string wanted;  // the text once every safe fix is made
};

// Each layout pitfall, made right by the safe fixes alone; what is left
// afterwards is checked to be nothing (or a suggestion's note).
TEST(CheckSource, SafeFixesRepairEachLayoutPitfall) {
  const FixCase cases[] = {
      {"a blank after a comma", program("var& a\nvar& b := 2\n", "mov a, b\nprint a\n"),
       program("var& a\nvar& b := 2\n", "mov a,b\nprint a\n")},
      {"tabs before and after a mnemonic", program("var& a\n", "\tinc a\nprint\t\ta\n"),
       program("var& a\n", "    inc a\nprint a\n")},
      {"an indented label jumped to", program("var& a := 2\n", "  top:\ndec a\ncmp a,0\njg top\n"),
       program("var& a := 2\n", "top:\ndec a\ncmp a,0\njg top\n")},
      {"aligned comments", program("var& a\nvar& b\n", "mov a,b      ; copy\nprint a    ; show\n"),
       program("var& a\nvar& b\n", "mov a,b ; copy\nprint a ; show\n")},
      {"a comment glued to a statement", program("var& a\n", "inc a;one more\nprint a\n"),
       program("var& a\n", "inc a ;one more\nprint a\n")},
      {"a comment on a declaration line", program("var& a ; the count\n", "print a\n"),
       program("; the count\nvar& a\n", "print a\n")},
      {"text after a label's colon", program("var& a\n", "top: inc a\nprint a\n"),
       program("var& a\n", "top:\n    inc a\nprint a\n")},
      {":= without blanks", program("var& a:=5\n", "print a\n"),
       program("var& a := 5\n", "print a\n")},
      {"several names on one declaration line",
       program("var& a, b,c\n", "add a,b\nadd a,c\nprint a\n"),
       program("var& a\nvar& b\nvar& c\n", "add a,b\nadd a,c\nprint a\n")},
      {"a label that is a Perl word, and one that takes the new name",
       program("var& a := 2\n", "next:\ndec a\ncmp a,0\njg next\nnext_label:\n"),
       program("var& a := 2\n", "next_label2:\ndec a\ncmp a,0\njg next_label2\nnext_label:\n")},
      {"jmp stop, twice", program("var& a\n", "jmp stop\nprint a\njmp stop\n"),
       program("var& a\n", "jmp finish\nprint a\njmp finish\nfinish:\n")},
      {"a header brace on the next line",
       "kiv demo\r\n{\r\nvar {\r\n}\r\nbegin {\r\nprint \"a\"\r\n}\r\n}\r\n",
       "kiv demo {\r\n\r\nvar {\r\n}\r\nbegin {\r\nprint \"a\"\r\n}\r\n}\r\n"},
      {"the block's brace after a statement", "kiv t {\nvar {\n}\nbegin {\nprint \"a\"}\n}\n",
       "kiv t {\nvar {\n}\nbegin {\nprint \"a\"\n}\n}\n"},
      {"a line of blanks and a blank at the end", program("var& a\n", "print a \n   \nprint a\n"),
       program("var& a\n", "print a\n\nprint a\n")},
  };
  for (const FixCase& c : cases) {
    SafeFixes fixed = fixSafely(c.source);
    EXPECT_EQ(fixed.text, c.wanted) << c.name;
    for (const Diagnostic& left : fixed.remaining) {
      EXPECT_EQ(left.severity, Severity::Note) << c.name << ": " << describe(left, 8);
      for (const FixIt& fix : left.fixes) EXPECT_FALSE(fix.safe) << c.name;
    }
  }
}

// Fixes that would only trade one fault for another, or guess, are no safe
// ones.
TEST(CheckSource, OffersNoSafeFixThatGuesses) {
  const std::string sources[] = {
      program("var& a  b c\n", "print a\n"),          // still three words with one blank
      program("var$ s := two words\n", "print s\n"),  // quoting is a suggestion
      program("var& a\n", "top: this is text\njmp top\n"),
      program("var& a\n", "mov a b\n"),
      program("var# f := 2.5\nvar& n := 7\n", "print f\ndiv n,2\nprint n\n"),
  };
  for (const std::string& source : sources) {
    SafeFixes fixed = fixSafely(source);
    EXPECT_EQ(fixed.text, source);
  }
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CheckSource, FindsNoErrorOrWarningInTheExamples) {
  DIR* directory = opendir(TARNEL_EXAMPLES_DIR);
  ASSERT_NE(directory, nullptr);
  int checked = 0;
  while (dirent* entry = readdir(directory)) {
    std::string name = entry->d_name;
    if (name.size() < 7 || name.substr(name.size() - 7) != ".tarnel") continue;
    for (const Diagnostic& diagnostic :
         checkSource(readFile(std::string(TARNEL_EXAMPLES_DIR) + "/" + name))) {
      EXPECT_EQ(diagnostic.severity, Severity::Note) << name << " " << describe(diagnostic);
    }
    ++checked;
  }
  closedir(directory);
  EXPECT_GE(checked, 5);
}

}  // namespace
