// Console sessions run in memory: an interrupt stops a run that never ends, and
// the debugger's lines start on a line of their own after the program's.
#include "console_session.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "debug_program.h"
#include "front_end.h"

namespace {

// Commands and program input from a list; the line "^C" stands for an
// interrupt from the terminal while the line is read.
class ScriptedLines : public LineSource {
 public:
  ScriptedLines(std::vector<std::string> commands, std::vector<std::string> input)
      : commands_(std::move(commands)), input_(std::move(input)) {}

  LineResult readLine(const std::string& prompt, bool, std::string& line) override {
    std::vector<std::string>& from = prompt == kProgramInputPrompt ? input_ : commands_;
    if (from.empty()) return LineResult::End;
    line = from.front();
    from.erase(from.begin());
    transcript += prompt + line + "\n";
    if (line == "^C") {
      interruptRequested = 1;
      return LineResult::Interrupted;
    }
    return LineResult::Line;
  }

  std::string transcript;

 private:
  std::vector<std::string> commands_;
  std::vector<std::string> input_;
};

DebugProgram assembled(const std::string& source) {
  DebugProgram program;
  std::vector<std::string> messages;
  EXPECT_TRUE(assembleProgram("p.tarnel", source, program, messages));
  return program;
}

TEST(ConsoleSession, AnInterruptStopsARunBetweenTwoRecords) {
  const DebugProgram program = assembled(
      "kiv echo {\nvar {\nvar$ w\nvar& n\n}\nbegin {\ntop:\n    input w\n    print w\n"
      "    inc n\n    cmp n,3\n    jl top\n}\n}\n");
  ScriptedLines lines({"continue", "print w", "^C", "c", "quit"}, {"a", "^C", "b"});
  std::ostringstream out;
  std::ostringstream err;
  ConsoleSession session(program, lines, out, err);
  session.run();
  EXPECT_EQ(out.str(),
            "p.tarnel: 8 records; \"help\" lists the commands\n"
            "#1 input w\n"
            "8\t    input w\n"
            "a\n"
            "interrupted, #1 input w\n"
            "8\t    input w\n"
            "w = \"a\" (string)\n"
            "b\n"
            "the program ended after 15 steps\n");
  // An interrupt at the program's input stops the run before the input;
  // at the prompt it only drops the line. The input's end ends the loop.
  EXPECT_EQ(lines.transcript,
            "(kivdebug) continue\n"
            "program input> a\n"
            "program input> ^C\n"
            "(kivdebug) print w\n"
            "(kivdebug) ^C\n"
            "(kivdebug) c\n"
            "program input> b\n"
            "(kivdebug) quit\n");
  EXPECT_EQ(err.str(), "input ended at line 8: w gets the empty text\n");
  EXPECT_EQ(interruptRequested, 0);
}

TEST(ConsoleSession, StartsItsLinesAfterTheProgramsUnendedLine) {
  const DebugProgram program = assembled(
      "kiv p {\nvar {\nvar& n := 4\n}\nbegin {\n    print \"n is \"\n    print n\n"
      "    print \"\\n\"\n}\n}\n");
  ScriptedLines lines({"step", "step", "step", "step"}, {});
  std::ostringstream out;
  std::ostringstream err;
  ConsoleSession session(program, lines, out, err);
  session.run();
  EXPECT_EQ(out.str(),
            "p.tarnel: 5 records; \"help\" lists the commands\n"
            "#0 print \"n is \"\n"
            "6\t    print \"n is \"\n"
            "n is \n"
            "#1 print n\n"
            "7\t    print n\n"
            "4\n"
            "#2 print \"\\n\"\n"
            "8\t    print \"\\n\"\n"
            "\n"
            "#4 halt\n"
            "9\t}\n"
            "the program ended after 3 steps\n");
}

TEST(ConsoleSession, ANewRunReadsTheInputFileFromItsStart) {
  const DebugProgram program =
      assembled("kiv r {\nvar {\nvar$ w\n}\nbegin {\n    input w\n    print w\n}\n}\n");
  ScriptedLines lines({"continue", "run", "print w"}, {});
  std::ostringstream out;
  std::ostringstream err;
  const std::string input = "once more";
  ConsoleOptions options;
  options.inputText = &input;
  ConsoleSession session(program, lines, out, err, options);
  session.run();
  const std::string text = out.str();
  EXPECT_NE(text.find("once\nthe program ended after 2 steps\n"
                      "the program starts again from its first record\n"
                      "once\nthe program ended after 2 steps\n"
                      "w = \"once\" (string)\n"),
            std::string::npos)
      << text;
}

}  // namespace
