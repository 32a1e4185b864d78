// recordOrigins against the loader itself: for hand-picked odd texts and for
// many generated ones, one origin per loaded record, and the text at each
// origin is the entry the record was read from.
#include "record_origins.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "interpreter.h"

namespace {

// Empty when the origins agree with what loadText made of text; otherwise
// what differs.
std::string disagreement(const std::string& text) {
  Interpreter interpreter;
  interpreter.loadText(text);
  const std::vector<std::size_t> origins = recordOrigins(text);
  if (static_cast<int>(origins.size()) != interpreter.code.count()) {
    return std::to_string(origins.size()) + " origins for " +
           std::to_string(interpreter.code.count()) + " records";
  }
  for (int i = 0; i < interpreter.code.count(); ++i) {
    const CodeRecord record = interpreter.code[i];
    const std::size_t at = origins[static_cast<std::size_t>(i)];
    // Jumps may have been resolved to positions; their opcode and the text
    // up to the first operand still stand at the origin.
    const std::string wanted =
        record.opcode == "-1" && !record.label.empty() ? record.label + "@" : record.opcode + "!";
    if (record.opcode == "-1" && record.label.empty()) continue;  // "-1!..." or "@" alone
    if (text.compare(at, wanted.size(), wanted) != 0) {
      return "record " + std::to_string(i) + " is not at offset " + std::to_string(at);
    }
  }
  return std::string();
}

TEST(RecordOrigins, FollowTheLoadersCutsOnOddTexts) {
  const char* texts[] = {
      "var{con0&:0}code{top@,12!n:0,19!top:0,stop@,0!0:0}",
      // A label entry keeps the rest of its line, commas and all.
      "var{con0&:0}code{l@ mov a,b,12!x:0,stop@,0!0:0}",
      "var{con0&:0}code{l@ mov a,12!b:0,stop@,0!0:0}",
      // An operand that holds a comma or an "@".
      "var{con0&:0}code{4!a:b,c,1!a:x@y,stop@,0!0:0}",
      // Quoted separators, and a quote left open that swallows entries.
      "var{con0&:0}code{12!\"a,b:c@\":0,12!\"open:0,3!x:0,12!\"x\":0,stop@,0!0:0}",
      // No comma at all, no closing brace, no code section.
      "var{con0&:0}code{0!0:0}",
      "var{con0&:0}code{top@,0!0:0",
      "var{con0&:0}",
      // "code{" inside a variable value, and after the section.
      "var{v$:code{1!a:b,x@},con0&:0}code{0!0:0,y@}",
      "code{0!0:0,x@}var{v&:1,con0&:0}",
      // Empty entries, entries that fit no form, a colon before the "!".
      "var{}code{,,12!x,a:b!c,!:,@,-1!z:z,0!0:0}",
      "",
  };
  for (const char* text : texts) {
    EXPECT_EQ(disagreement(text), "") << "text: " << text;
  }
  // A NUL byte ends the text the loader reads.
  const std::string withNul("var{}code{12!a:0,3!b:0}\0,13!c:0,}", 34);
  EXPECT_EQ(disagreement(withNul), "");
  EXPECT_EQ(recordOrigins(withNul).size(), 2u);
}

TEST(RecordOrigins, AgreeWithTheLoaderOnGeneratedTexts) {
  const char* const pieces[] = {"code{",    "var{",  "}",           "{",   ",",       ",",
                                ":",        "!",     "@",           "\"",  "12",      "a",
                                "b ",       "-1",    "x@",          "top", "12!a:0,", "top@,",
                                "4!a:b,c,", "l@ x,", "1!\"a,b\":c,"};
  std::mt19937 random(20260101);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(pieces)) - 1);
  std::uniform_int_distribution<int> length(0, 40);
  std::size_t records = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = round % 2 == 0 ? "var{con0&:0}code{" : "";
    for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
    if (round % 3 == 0) text += ",stop@,0!0:0}";
    ASSERT_EQ(disagreement(text), "") << "text: " << text;
    records += recordOrigins(text).size();
  }
  // Odd as they are, the texts make records, about one each.
  EXPECT_GT(records, 2000u);
}

}  // namespace
