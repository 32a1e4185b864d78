#include "token_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> pieces(const char* line, char separator) {
  TokenList list;
  list.split(line, separator);
  std::vector<std::string> result;
  for (int i = 0; i < list.count(); ++i) result.emplace_back(list.at(i));
  return result;
}

using Pieces = std::vector<std::string>;

TEST(TokenList, CutsAtEverySeparator) {
  EXPECT_EQ(pieces("a,b", ','), (Pieces{"a", "b"}));
  EXPECT_EQ(pieces("a,b,", ','), (Pieces{"a", "b", ""}));
  EXPECT_EQ(pieces(",a", ','), (Pieces{"", "a"}));
  EXPECT_EQ(pieces(",,", ','), (Pieces{"", "", ""}));
  EXPECT_EQ(pieces("var& x := 1", ' '), (Pieces{"var&", "x", ":=", "1"}));
}

TEST(TokenList, LineWithoutSeparatorGivesNoPiece) {
  EXPECT_TRUE(pieces("abc", ',').empty());
  EXPECT_TRUE(pieces("", ',').empty());
  EXPECT_TRUE(pieces("\"a,b\"", ',').empty());
}

TEST(TokenList, KeepsQuotedSeparatorsAndQuotes) {
  EXPECT_EQ(pieces("\"x,y\",z", ','), (Pieces{"\"x,y\"", "z"}));
  EXPECT_EQ(pieces("msg$:\"hi, there\",n&:1", ','), (Pieces{"msg$:\"hi, there\"", "n&:1"}));
  // An unclosed quote hides every later separator.
  EXPECT_EQ(pieces("a,\"b,c", ','), (Pieces{"a", "\"b,c"}));
  EXPECT_EQ(TokenList::countSeparators("a,\"b,c\",d", ','), 2);
}

TEST(TokenList, SecondSplitReplacesThePieces) {
  TokenList list;
  list.split("a,b,c", ',');
  list.split("x;y", ';');
  ASSERT_EQ(list.count(), 2);
  EXPECT_STREQ(list.at(0), "x");
  EXPECT_STREQ(list.at(1), "y");
  list.split("none", ';');
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.at(0), nullptr);
}

TEST(TokenList, AtOutsideTheListGivesNoText) {
  TokenList list;
  EXPECT_EQ(list.at(0), nullptr);
  list.split("a,b", ',');
  EXPECT_EQ(list.at(-1), nullptr);
  EXPECT_EQ(list.at(2), nullptr);
}

}  // namespace
