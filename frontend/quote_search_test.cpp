#include "quote_search.h"

#include <gtest/gtest.h>

namespace {

struct SearchCase {
  long pos;
  const char* text;
  const char* pattern;
  long wanted;
};

TEST(FindUnquotedAfter, FollowsTheQuoteState) {
  const SearchCase cases[] = {
      {-1, "kiv demo {", "kiv", 0},       // the first byte is examined from -1
      {0, "kiv demo {", "kiv", -1},       // the start position itself is not
      {-1, "\"{\" x {", "{", 6},          // a quoted brace is passed over
      {-1, "a\":\":b", ":", 4},           // the flag flips at the quote tested
      {-1, "invariant var {", "var", 2},  // a keyword inside a longer word counts
      {-1, "xya", "ab", -1},              // the whole pattern must fit in the text
      {-1, "ab", "abc", -1},              //
      {-1, "abc", "", -1},                // an empty pattern is never found
      {-1, "", "x", -1},                  //
      {5, "abc", "a", -1},                // a start past the end finds nothing
      {2, "\"a\"b,c", ",", 4},            // the state starts afresh after pos
      {1, "\"a,b\",c", ",", 2},           // ...even inside a quoted stretch
      {-1, "\"", "\"", -1},               // an opening quote is never found
      {-1, "\"a\"", "\"", 2},             // a closing quote is
      {-5, "x", "x", 0},                  // a position below -1 counts as -1
  };
  for (const SearchCase& c : cases) {
    EXPECT_EQ(findUnquotedAfter(c.pos, c.text, c.pattern), c.wanted)
        << "pos " << c.pos << " text '" << c.text << "' pattern '" << c.pattern << "'";
  }
}

struct SplitCase {
  const char* text;
  char separator;
  std::vector<std::string> wanted;
};

TEST(SplitOutsideQuotes, CutsOnlyOutsideQuotes) {
  const SplitCase cases[] = {
      {"a,b", ',', {"a", "b"}},
      {"a,b,", ',', {"a", "b", ""}},
      {",a", ',', {"", "a"}},
      {"abc", ',', {}},
      {"", ',', {}},
      {"\"x,y\",z", ',', {"\"x,y\"", "z"}},
      {"a\r\n\r\nb\r\n", '\n', {"a\r", "\r", "b\r", ""}},
      {"print \"a\nb\"\nx", '\n', {"print \"a\nb\"", "x"}},
      {"var$ s := \"a b\"\r", ' ', {"var$", "s", ":=", "\"a b\"\r"}},
      {"var&  x", ' ', {"var&", "", "x"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(splitOutsideQuotes(c.text, c.separator), c.wanted) << "text '" << c.text << "'";
  }
}

}  // namespace
