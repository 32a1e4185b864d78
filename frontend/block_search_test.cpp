#include "block_search.h"

#include <gtest/gtest.h>

#include "front_end.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

// The outcome of one search: whether it succeeded, what it found, and the
// error lines it wrote.
struct Outcome {
  bool found;
  std::string text;
  std::string output;
};

template <typename Search>
Outcome run(Search search, const std::string& source) {
  errorCount = 0;
  Outcome outcome{false, "", ""};
  CaptureStdout();
  outcome.found = search(source, outcome.text);
  outcome.output = GetCapturedStdout();
  return outcome;
}

TEST(BlockSearch, BraceCountsMustMatch) {
  errorCount = 0;
  CaptureStdout();
  EXPECT_TRUE(checkBraceBalance(""));
  EXPECT_TRUE(checkBraceBalance("kiv a { var { } begin { } }"));
  EXPECT_FALSE(checkBraceBalance("kiv a { print \"{\" }"));
  EXPECT_EQ(GetCapturedStdout(), "error(1)  { } blocks missalligned\n");
  EXPECT_EQ(errorCount, 1);
}

TEST(BlockSearch, ObjectNameLosesOnlyBlanks) {
  struct Case {
    const char* source;
    const char* name;
  };
  const Case cases[] = {
      {"kiv demo {", "demo"},
      {"\r\nkiv my demo {", "mydemo"},
      {"kiv\tdemo\r\n{", "\tdemo\r\n"},
      {"kiv{", ""},
  };
  for (const Case& c : cases) {
    Outcome outcome = run(findObjectBlock, c.source);
    EXPECT_TRUE(outcome.found) << c.source;
    EXPECT_EQ(outcome.text, c.name) << c.source;
  }
}

TEST(BlockSearch, ReportsEachStructuralMessage) {
  struct Case {
    bool (*search)(const std::string&, std::string&);
    const char* source;
    const char* output;
  };
  const Case cases[] = {
      {findObjectBlock, "", "error(1) kiv block not found\n"},
      {findObjectBlock, "\"kiv\" {", "error(1) kiv block not found\n"},
      {findObjectBlock, "{ kiv demo", "error(1) kiv opening brace ({) not found\n"},
      {findVariableBlock, "kiv a { begin { } }", "error(1) var block not found\n"},
      {findVariableBlock, "var", "error(1) var { or } not found\n"},
      {findVariableBlock, "var { \"}\"", "error(1) var { or } not found\n"},
      {findCodeBlock, "var { }", "error(1)  begin block not found \n"},
      {findCodeBlock, "begin }", "error(1)  begin missing { or } \n"},
      {findCodeBlock, "begin {", "error(1)  begin missing { or } \n"},
  };
  for (const Case& c : cases) {
    Outcome outcome = run(c.search, c.source);
    EXPECT_FALSE(outcome.found) << c.source;
    EXPECT_EQ(outcome.output, c.output) << c.source;
  }
}

TEST(BlockSearch, BlockEndsAtFirstUnquotedBrace) {
  Outcome code = run(findCodeBlock, "begin {\r\nprint \"}\"\r\n}\r\n}");
  EXPECT_TRUE(code.found);
  EXPECT_EQ(code.text, "\r\nprint \"}\"\r\n");
  EXPECT_EQ(code.output, "");

  Outcome empty = run(findVariableBlock, "var {}");
  EXPECT_TRUE(empty.found);
  EXPECT_EQ(empty.text, "");
}

TEST(BlockSearch, VarInsideLongerWordTakesObjectBrace) {
  Outcome outcome = run(findVariableBlock, "kiv invariant {\r\nvar {\r\n}\r\n");
  EXPECT_TRUE(outcome.found);
  EXPECT_EQ(outcome.text, "\r\nvar {\r\n");
}

}  // namespace
