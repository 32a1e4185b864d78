// Batch runs: the trace's words for every kind of record, the step limit
// with its line and exit status, and the program's own console untouched.
#include "batch_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "debug_program.h"
#include "front_end.h"
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
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream trace;
  BatchResult result;
  result.status = runBatch(program, options, in, out, trace);
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
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream trace;
  BatchOptions options;
  options.trace = true;
  EXPECT_EQ(runBatch(program, options, in, out, trace), kEndedStatus);
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

TEST(BatchRun, TheHaltRecordIsAStepOfItsOwn) {
  BatchOptions options;
  options.limited = true;
  options.maxSteps = 12;
  EXPECT_EQ(runSource(kEveryKind, options).status, kEndedStatus);
  options.maxSteps = 11;
  BatchResult r = runSource(kEveryKind, options);
  EXPECT_EQ(r.status, kStepLimitStatus);
  EXPECT_EQ(r.trace,
            "kivdebug: --max-steps 11 stopped the program after 11 steps, before #14 (line 20): "
            "halt\n");
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

TEST(ProgramConsole, KeepsWordsTypedBeyondOneInputForTheNext) {
  ListedLines lines({"4 5", "", "6"});
  int asked = 0;
  PromptedInput buffer(
      lines, [&] { ++asked; }, [] {});
  std::istream in(&buffer);
  std::string word;
  in >> word;
  EXPECT_EQ(word, "4");
  in >> word;
  EXPECT_EQ(word, "5");
  EXPECT_EQ(asked, 1);
  in >> word;  // the empty line gives no word: asked again
  EXPECT_EQ(word, "6");
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(lines.prompts, "program input> program input> program input> ");
  EXPECT_FALSE(in >> word);
  buffer.discard();
  in.clear();
  EXPECT_FALSE(in >> word);
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
