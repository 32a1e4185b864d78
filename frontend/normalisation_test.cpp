#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "line_text.h"
#include "source_file.h"
#include "source_text.h"

namespace {

using Edit = void (*)(std::string&);

struct EditCase {
  const char* name;
  Edit edit;
  std::string text;
  std::string wanted;
};

TEST(Normalisation, RewritesTextsInPlace) {
  const EditCase cases[] = {
      {"lower", lowerCaseText, "KIV Demo {\"Hello\" 9@[`", "kiv demo {\"hello\" 9@[`"},
      {"lower keeps high bytes", lowerCaseText, "\xC4\xD6", "\xC4\xD6"},
      {"comments", stripComments, "mov a, 1 ; one\r\nprint a\r\n", "mov a, 1 \nprint a\r\n"},
      {"comment in quotes", stripComments, "print \"a;b\"\r\nx", "print \"a\nx"},
      {"comment to the end", stripComments, "a;b", "a"},
      {"lf", expandBareLineFeeds, "a\nb\r\nc\n\n", "a\r\nb\r\nc\r\n\r\n"},
      {"leading lf", expandBareLineFeeds, "\nkiv", "\r\nkiv"},
      {"lone cr stays", expandBareLineFeeds, "a\rb", "a\rb"},
      {"line breaks", stripLineBreaks, "\ra\r\nb\n", "ab"},
      {"collapse", collapseSpaces, "    mov  a,   \"x   y\"  \r", " mov a, \"x   y\" \r"},
      {"collapse keeps tabs", collapseSpaces, "\t\t a", "\t\t a"},
      {"strip", stripUnquotedSpaces, " a b \" c d \" e ", "ab\" c d \"e"},
      {"strip unclosed quote", stripUnquotedSpaces, "a \" b", "a\" b"},
  };
  for (const EditCase& c : cases) {
    std::string text = c.text;
    c.edit(text);
    EXPECT_EQ(text, c.wanted) << c.name;
  }
}

TEST(Normalisation, FindsFirstNonSpace) {
  EXPECT_EQ(firstNonSpace("   x"), 3);
  EXPECT_EQ(firstNonSpace("\tx"), 0);
  EXPECT_EQ(firstNonSpace("    "), -1);
  EXPECT_EQ(firstNonSpace(""), -1);
}

class SourceFileTest : public ::testing::Test {
 protected:
  void write(const std::string& bytes) {
    std::ofstream out(path_, std::ios::binary);
    out << bytes;
  }
  void TearDown() override { std::remove(path_.c_str()); }
  // Named after the test, so that tests run in parallel never share it.
  std::string path_ = ::testing::TempDir() +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".tarnel";
};

TEST_F(SourceFileTest, NulByteEndsText) {
  write(std::string("ab\0cd", 5));
  std::string text;
  ASSERT_TRUE(readWholeFile(path_, text));
  EXPECT_EQ(text, "ab");
}

TEST_F(SourceFileTest, MissingFileFails) {
  std::string text = "old";
  EXPECT_FALSE(readWholeFile(path_ + ".missing", text));
  EXPECT_EQ(text, "");
}

}  // namespace
