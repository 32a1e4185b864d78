#include "text_routines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SearchCase {
  const char* text;
  const char* pattern;
  int start;
  int wanted;
};

std::string describe(const SearchCase& c) {
  return std::string("text '") + c.text + "' pattern '" + c.pattern + "' start " +
         std::to_string(c.start);
}

TEST(TextSearch, ForwardFindsLowestWholeMatch) {
  const SearchCase cases[] = {
      {"abcab", "ab", 0, 0}, {"abcab", "ab", 1, 3},  {"abcab", "ab", 4, -1}, {"abc", "", 0, -1},
      {"ab", "abc", 0, -1},  {"abc", "abc", 0, 0},   {"abc", "c", 5, -1},    {"", "a", 0, -1},
      {"a\"b\"", "b", 0, 2}, {"abcab", "ab", -3, 0},
  };
  for (const SearchCase& c : cases) {
    EXPECT_EQ(textFindFrom(c.start, c.text, c.pattern), c.wanted) << describe(c);
    if (c.start == 0) {
      EXPECT_EQ(textFind(c.text, c.pattern), c.wanted) << describe(c);
    }
  }
}

TEST(TextSearch, BackwardFindsHighestMatchThatFits) {
  const SearchCase cases[] = {
      {"abcab", "ab", 5, 3}, {"abcab", "ab", 2, 0}, {"abc", "", 3, 3},   {"abc", "", 1, -1},
      {"ab", "abc", 2, -1},  {"aaa", "aa", 3, 1},   {"abc", "x", 3, -1}, {"abc", "c", 99, 2},
  };
  for (const SearchCase& c : cases) {
    EXPECT_EQ(textFindLastFrom(c.start, c.text, c.pattern), c.wanted) << describe(c);
  }
  EXPECT_EQ(textFindLast("abcab", "ab"), 3);
  EXPECT_EQ(textFindLast("abc", ""), 3);
}

TEST(TextSearch, OutsideQuotesSkipsQuotedStretches) {
  const SearchCase cases[] = {
      // The colon between the quotes is passed over.
      {"a\":\":b", ":", 0, 4},
      // The quote state starts outside at the start position.
      {"\"a,b\",c", ",", 2, 2},
      {"\"a,b\",c", ",", 0, 5},
      // A pattern running past the end counts when its bytes within match.
      {"xya", "ab", 0, 2},
      {"ab", "abc", 0, 0},
      // Only the first byte's position is tested for the quote state.
      {"a:\"b\"", ":\"b", 0, 1},
      // A quote pattern is found at a closing quote, never at an opening one.
      {"x\"y\"z", "\"", 0, 3},
      {"abc", "", 0, -1},
      {"abc", "c", 3, -1},
      {"a}b", "}", -2, 1},
  };
  for (const SearchCase& c : cases) {
    EXPECT_EQ(textFindOutsideQuotes(c.start, c.text, c.pattern), c.wanted) << describe(c);
  }
}

TEST(TextSearch, SuccessLeavesPositionAndMatchFlag) {
  EXPECT_EQ(textFind("hello", "ll"), 2);
  EXPECT_EQ(textPos, 2);
  EXPECT_EQ(textMatched, 1);
  EXPECT_EQ(textLenA, 5);
  EXPECT_EQ(textLenC, 2);
}

TEST(TextCopying, CopiesRangesAndClampsToTheSource) {
  char out[32];
  textLeft("abcdef", out, 3);
  EXPECT_STREQ(out, "abc");
  textLeft("abcdef", out, 0);
  EXPECT_STREQ(out, "");
  textLeft("ab", out, 10);
  EXPECT_STREQ(out, "ab");
  textFrom("abc", out, 1);
  EXPECT_STREQ(out, "bc");
  textFrom("abc", out, 5);
  EXPECT_STREQ(out, "");
  textRange("abcdef", out, 1, 4);
  EXPECT_STREQ(out, "bcd");
  textRange("abc", out, 2, 1);
  EXPECT_STREQ(out, "");
  textRange("abc", out, -4, 99);
  EXPECT_STREQ(out, "abc");
  textMid("abcdef", out, 2, 3);
  EXPECT_STREQ(out, "cde");
  textMid("abc", out, 2, 9);
  EXPECT_STREQ(out, "c");
}

TEST(TextCopying, CopyAndAppendTakeTheDestinationFirst) {
  char out[32] = "";
  textCopy(out, "key");
  textAppend(out, "=value");
  EXPECT_STREQ(out, "key=value");
  EXPECT_EQ(textLenA, 3);
  EXPECT_EQ(textLenB, 6);
}

TEST(TextCopying, StripBlanksRemovesOnlySpaces) {
  char out[32];
  textStripBlanks("a b\tc ", out);
  EXPECT_STREQ(out, "ab\tc");
  textStripBlanks("   ", out);
  EXPECT_STREQ(out, "");
}

TEST(TextCompare, EqualsComparesLengthAndBytes) {
  EXPECT_TRUE(textEquals("", ""));
  EXPECT_TRUE(textEquals("loop", "loop"));
  EXPECT_FALSE(textEquals("a", "A"));
  EXPECT_FALSE(textEquals("ab", "abc"));
  EXPECT_FALSE(textEquals("loop ", "loop"));
}

TEST(TextCompare, CountCharIgnoresQuotes) {
  EXPECT_EQ(textCountChar("{\"{\"}", '{'), 2);
  EXPECT_EQ(textCountChar("", '{'), 0);
  EXPECT_EQ(textLength("hello"), 5);
  EXPECT_EQ(textLength(""), 0);
}

}  // namespace
