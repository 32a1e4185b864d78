// Batch runs: the trace's words for every kind of record, the step limit
// with its line and exit status, and the program's own console untouched.
#include "batch_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "debug_program.h"
#include "program_console.h"

namespace {

struct BatchResult {
  int status = -1;
  std::string out;
  std::string trace;
};

BatchResult runSource(const std::string& source, BatchOptions options,
                      const std::string& input = "") {
  DebugProgram program;
  std::vector<std::string> messages;
  EXPECT_TRUE(assembleProgram("p.tarnel", source, program, messages));
  NoMoreInput none;
  std::ostringstream out;
  std::ostringstream trace;
  BatchResult result;
  result.status = runBatch(program, options, input, none, out, trace);
  result.out = out.str();
  result.trace = trace.str();
  return result;
}

const char kEveryKind[] =
    "kiv t {\n"
    "var {\n"
    "var& x := 1\n"
    "var$ s\n"
    "}\n"
    "begin {\n"
    "mov s,\"hi\"\n"     // 7
    "inc nothing\n"      // 8
    "push x\n"           // 9
    "pop s\n"            // 10
    "pop s\n"            // 11
    "pop nothing\n"      // 12
    "cmp x,2\n"          // 13
    "jl less\n"          // 14
    "print \"never\"\n"  // 15
    "less:\n"            // 16
    "jg less\n"          // 17
    "input x\n"          // 18
    "jmp stop\n"         // 19
    "}\n"
    "}\n";

TEST(BatchRun, TracesWhatEveryRecordChanged) {
  BatchOptions options;
  options.trace = true;
  BatchResult r = runSource(kEveryKind, options);
  EXPECT_EQ(r.status, kEndedStatus);
  EXPECT_EQ(r.trace,
            "#0 (line 7): mov s,\"hi\" => s = \"hi\"\n"
            "#1 (line 8): inc nothing => no variable nothing: nothing changes\n"
            "#2 (line 9): push x => pushed 1\n"
            "#3 (line 10): pop s => popped, s = \"1\"\n"
            "#4 (line 11): pop s => the stack was empty, s = \"\"\n"
            "#5 (line 12): pop nothing => no variable nothing: nothing is popped\n"
            "#6 (line 13): cmp x,2 => flags: notEqual less lessOrEqual\n"
            "#7 (line 14): jl less => jump taken to #10\n"
            "#10 (line 17): jg less => jump not taken\n"
            "input ended at line 18: x gets the empty text\n"
            "#11 (line 18): input x => x = (empty)\n"
            "#12 (line 19): jmp stop => jump taken to #14\n"
            "#14 (line 20): halt => the program ends\n");
  EXPECT_EQ(r.out,
            "error invalid variable nothing on the inc instruction\n"
            "invalid variable on pop instruction \n");
}

TEST(BatchRun, TracesABytecodeFileByRecordAlone) {
  DebugProgram program;
  program.path = "t.kiv";
  program.bytecode = "var{n&:1,con0&:0}code{12!\"n=\":0,12!n:0,19!nowhere:0,0!0:0}";
  NoMoreInput none;
  std::ostringstream out;
  std::ostringstream trace;
  BatchOptions options;
  options.trace = true;
  EXPECT_EQ(runBatch(program, options, "", none, out, trace), kEndedStatus);
  EXPECT_EQ(trace.str(),
            "#0: print \"n=\"\n"
            "#1: print n\n"
            "#2: jg nowhere => no label nowhere: not taken\n"
            "#3: halt => the program ends\n");
  EXPECT_EQ(out.str(), "n=1invalid code label nowhere\n");
}

TEST(BatchRun, TheStepLimitStopsTheRunWithALine) {
  for (bool trace : {false, true}) {
    BatchOptions options;
    options.trace = trace;
    options.limited = true;
    options.maxSteps = 3;
    BatchResult r = runSource(kEveryKind, options);
    EXPECT_EQ(r.status, kStepLimitStatus);
    const std::string last = r.trace.substr(r.trace.rfind('\n', r.trace.size() - 2) + 1);
    EXPECT_EQ(trace ? last : r.trace,
              "kivdebug: --max-steps 3 stopped the program after 3 steps, before #3 (line 10): "
              "pop s\n");
    EXPECT_EQ(r.out, "error invalid variable nothing on the inc instruction\n");
  }
}

TEST(BatchRun, ALimitEqualToAFinishedRunsCountLetsItFinish) {
  for (bool trace : {false, true}) {
    BatchOptions options;
    options.trace = trace;
    options.limited = true;
    // Eleven instructions, then the halt, which is not counted.
    options.maxSteps = 11;
    BatchResult r = runSource(kEveryKind, options);
    EXPECT_EQ(r.status, kEndedStatus);
    if (trace) {
      EXPECT_NE(r.trace.find("#14 (line 20): halt => the program ends\n"), std::string::npos);
    }
    options.maxSteps = 10;
    r = runSource(kEveryKind, options);
    EXPECT_EQ(r.status, kStepLimitStatus);
    const std::string last = r.trace.substr(r.trace.rfind('\n', r.trace.size() - 2) + 1);
    EXPECT_EQ(last,
              "kivdebug: --max-steps 10 stopped the program after 10 steps, before #12 (line 19): "
              "jmp stop\n");
  }
}

TEST(BatchRun, ItsLinesStartOnALineOfTheirOwnOnASharedConsole) {
  std::vector<std::string> messages;
  DebugProgram program;
  ASSERT_TRUE(assembleProgram(
      "p.tarnel", "kiv p {\nvar {\nvar& n\n}\nbegin {\n    print \"n: \"\n    input n\n}\n}\n",
      program, messages));
  for (bool shared : {false, true}) {
    BatchOptions options;
    options.trace = true;
    options.sharedConsole = shared;
    NoMoreInput none;
    std::ostringstream console;
    EXPECT_EQ(runBatch(program, options, "", none, console, console), kEndedStatus);
    const std::string cut = shared ? "\n" : "";
    EXPECT_EQ(console.str(), "n: " + cut + "#0 (line 6): print \"n: \"\n" +
                                 "input ended at line 7: n gets the empty text\n" +
                                 "#1 (line 7): input n => n = (empty)\n" +
                                 "#3 (line 8): halt => the program ends\n");
  }
}

TEST(BatchRun, StopsAProgramThatNeverEnds) {
  BatchOptions options;
  options.limited = true;
  options.maxSteps = 1000000;
  BatchResult r = runSource(
      "kiv loop {\nvar {\nvar& n\n}\nbegin {\ntop:\ninc n\ncmp n,0\njne top\n}\n}\n", options);
  EXPECT_EQ(r.status, kStepLimitStatus);
  EXPECT_EQ(r.trace,
            "kivdebug: --max-steps 1000000 stopped the program after 1000000 steps, before #2 "
            "(line 8): cmp n,0\n");
}

TEST(BatchRun, AWholeRunReadsTheProgramsInput) {
  BatchResult r =
      runSource("kiv e {\nvar {\nvar$ w\n}\nbegin {\ninput w\nprint w\ninput w\nprint w\n}\n}\n",
                BatchOptions(), "one two\nthree");
  EXPECT_EQ(r.status, kEndedStatus);
  EXPECT_EQ(r.out, "onetwo");
  EXPECT_EQ(r.trace, "");
}

// A line source that hands out lines from a list and counts its prompts.
class ListedLines : public LineSource {
 public:
  explicit ListedLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  LineResult readLine(const std::string& prompt, bool, std::string& line) override {
    prompts += prompt;
    if (next_ >= lines_.size()) return LineResult::End;
    line = lines_[next_++];
    return LineResult::Line;
  }
  std::string prompts;

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

TEST(ProgramConsole, ProgramInputComesALineAtATime) {
  ListedLines lines({"4 5", ""});
  int asked = 0;
  PromptedLines prompted(lines, [&] { ++asked; });
  std::string text;
  EXPECT_EQ(prompted.more(text), ProgramInput::Result::Text);
  EXPECT_EQ(text, "4 5\n");
  EXPECT_EQ(prompted.more(text), ProgramInput::Result::Text);
  EXPECT_EQ(text, "\n");
  EXPECT_EQ(prompted.more(text), ProgramInput::Result::End);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(lines.prompts, "program input> program input> program input> ");
  // A stream's last line may end without a line feed.
  std::istringstream in("one\ntwo");
  StreamInput stream(in);
  EXPECT_EQ(stream.more(text), ProgramInput::Result::Text);
  EXPECT_EQ(text, "one\n");
  EXPECT_EQ(stream.more(text), ProgramInput::Result::Text);
  EXPECT_EQ(text, "two");
  EXPECT_EQ(stream.more(text), ProgramInput::Result::End);
}

TEST(BatchRun, ReadsTheProgramsInputOnlyAsItWaits) {
  DebugProgram program;
  std::vector<std::string> messages;
  ASSERT_TRUE(assembleProgram("p.tarnel",
                              "kiv e {\nvar {\nvar$ w\n}\nbegin {\nprint \"? \"\ninput w\nprint "
                              "w\ninput w\nprint w\n}\n}\n",
                              program, messages));
  ListedLines lines({"one two", "three"});
  std::ostringstream out;
  std::ostringstream err;
  PromptedLines prompted(lines, [&] { out << "|"; });
  EXPECT_EQ(runBatch(program, BatchOptions(), "", prompted, out, err), kEndedStatus);
  // Asked once: the second word was typed with the first.
  EXPECT_EQ(out.str(), "? |onetwo");
  EXPECT_EQ(lines.prompts, "program input> ");
  EXPECT_EQ(err.str(), "");
}

TEST(ProgramConsole, NotesOutputThatStopsInTheMiddleOfALine) {
  std::ostringstream target;
  LineTrackingOutput buffer(target.rdbuf());
  std::ostream out(&buffer);
  EXPECT_FALSE(buffer.midLine());
  out << "sum: ";
  EXPECT_TRUE(buffer.midLine());
  out << 15 << '\n';
  EXPECT_FALSE(buffer.midLine());
  out.put('x');
  EXPECT_TRUE(buffer.midLine());
  buffer.lineEnded();
  EXPECT_FALSE(buffer.midLine());
  EXPECT_EQ(target.str(), "sum: 15\nx");
}

}  // namespace
