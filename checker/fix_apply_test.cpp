// Making fix-its: edits keep every other byte and the text's own line ends,
// overlapping and misplaced fixes are left out whole, and fixSafely goes
// round until nothing safe is left, with its diff.
#include "fix_apply.h"

#include <gtest/gtest.h>

#include "unified_diff.h"

namespace {

FixIt fixOf(std::vector<FixEdit> edits, bool safe = true) {
  FixIt fix;
  fix.description = "d";
  fix.safe = safe;
  fix.edits = std::move(edits);
  return fix;
}

TEST(ApplyFixes, KeepsEveryByteNoEditNames) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<FixEdit> edits;
    std::string wanted;
  };
  const Case cases[] = {
      {"insert in a CR LF text", "ab\r\ncd\r\n", {{2, 2, 0, " "}}, "ab\r\nc d\r\n"},
      {"replace at a line's end", "ab\ncd", {{2, 3, 0, "!"}}, "ab\ncd!"},
      {"a line break takes the line's own end",
       "a\r\nb}\nc",
       {{1, 2, 0, "\n"}, {2, 2, 0, "\n"}},
       "a\r\n\r\nb\n}\nc"},
      {"a last line without an end takes the text's first",
       "x\r\ny",
       {{2, 2, 0, "\n"}},
       "x\r\ny\r\n"},
      {"a text without line ends breaks with LF", "xy", {{1, 2, 0, "\n"}}, "x\ny"},
      {"several edits on one line, given in any order",
       "mov a, b ,c",
       {{1, 9, 1, ""}, {1, 7, 1, ""}},
       "mov a,b,c"},
      {"an insertion before a replacement at the same place",
       "ab",
       {{1, 1, 1, "B"}, {1, 1, 0, "<"}},
       "<Bb"},
      {"bytes after a NUL stay",
       std::string("a\0b\nc", 5),
       {{2, 1, 1, "C"}},
       std::string("a\0b\nC", 5)},
      {"a CR inside a line is a byte of it", "a\rb\r\n", {{1, 4, 0, "!"}}, "a\rb!\r\n"},
      {"an empty text", "", {{1, 1, 0, "x"}}, "x"},
  };
  for (const Case& c : cases) {
    FixApplication made = applyFixes(c.text, {fixOf(c.edits)});
    EXPECT_EQ(made.text, c.wanted) << c.name;
    EXPECT_EQ(made.applied.size(), 1u) << c.name;
  }
}

TEST(ApplyFixes, LeavesOutOverlappingAndMisplacedFixesWhole) {
  const std::string text = "abcd\r\nef\r\n";
  std::vector<FixIt> fixes = {
      fixOf({{1, 2, 2, "X"}}),                  // 0: taken
      fixOf({{2, 1, 0, "!"}, {1, 3, 1, "Y"}}),  // 1: its second edit overlaps 0: none of it
      fixOf({{1, 4, 0, "+"}}),                  // 2: an insertion just after 0's range
      fixOf({{1, 3, 0, "-"}}),                  // 3: an insertion inside 0's range
      fixOf({{1, 4, 0, "="}}),                  // 4: a second insertion at 2's place
      fixOf({{2, 2, 2, ""}}),                   // 5: past the end of line 2
      fixOf({{3, 2, 0, "z"}}),                  // 6: line 3 is empty
      fixOf({{4, 1, 0, "z"}}),                  // 7: no line 4
      fixOf({{1, 0, 0, "z"}}),                  // 8: no column 0
      fixOf({}),                                // 9: nothing to make
      fixOf({{2, 3, 0, "g"}}),                  // 10: just past line 2's last byte
      fixOf({{2, 1, 1, "E"}, {2, 1, 1, "F"}}),  // 11: overlaps itself
  };
  FixApplication made = applyFixes(text, fixes);
  EXPECT_EQ(made.text, "aX+d\r\nefg\r\n");
  EXPECT_EQ(made.applied, (std::vector<std::size_t>{0, 2, 10}));
  EXPECT_EQ(made.skipped, (std::vector<std::size_t>{1, 3, 4, 5, 6, 7, 8, 9, 11}));
}

const char kLearner[] =
    "kiv pit {\n"
    "var {\n"
    "var& count := 2\n"
    "}\n"
    "begin {\n"
    "    loop:\n"
    "\tprint count;note\n"
    "dec count\n"
    "cmp count,0\n"
    "jg loop}\n"
    "}\n";

TEST(FixSafely, MakesWhatEachRoundRevealsAndDiffsIt) {
  SafeFixes fixed = fixSafely(kLearner);
  // The tab hides the comment's cut until it is fixed: a second round.
  EXPECT_EQ(fixed.text,
            "kiv pit {\nvar {\nvar& count := 2\n}\nbegin {\nloop:\n    print count ;note\n"
            "dec count\ncmp count,0\njg loop\n}\n}\n");
  ASSERT_EQ(fixed.applied.size(), 4u);
  EXPECT_EQ(fixed.applied[0].line, 6);
  EXPECT_EQ(fixed.applied[1].line, 7);
  EXPECT_EQ(fixed.applied[2].line, 7);
  EXPECT_EQ(fixed.applied[2].description, "put a blank before the \";\"");
  EXPECT_EQ(fixed.applied[3].line, 10);
  EXPECT_TRUE(fixed.remaining.empty());
  EXPECT_EQ(unifiedDiff("pit.tarnel", kLearner, fixed.text, fixed.lineOrigins),
            "--- pit.tarnel\n+++ pit.tarnel\n"
            "@@ -3,9 +3,10 @@\n"
            " var& count := 2\n }\n begin {\n"
            "-    loop:\n-\tprint count;note\n+loop:\n+    print count ;note\n"
            " dec count\n cmp count,0\n"
            "-jg loop}\n+jg loop\n+}\n"
            " }\n");
  // Fixing the result again finds nothing to fix.
  SafeFixes again = fixSafely(fixed.text);
  EXPECT_EQ(again.text, fixed.text);
  EXPECT_TRUE(again.applied.empty());
  EXPECT_EQ(unifiedDiff("pit.tarnel", fixed.text, again.text, again.lineOrigins), "");
}

TEST(UnifiedDiff, SplitsFarChangesIntoHunksAndMarksAMissingLastLineFeed) {
  std::string before;
  for (int line = 1; line <= 12; ++line) before += "l" + std::to_string(line) + "\n";
  before += "end";
  std::string after = before;
  after.replace(after.find("l2\n"), 3, "L2\n");
  after.replace(after.find("end"), 3, "e\nnd");
  std::vector<int> origins;
  for (int line = 1; line <= 13; ++line) origins.push_back(line);
  origins.push_back(13);
  EXPECT_EQ(unifiedDiff("f", before, after, origins),
            "--- f\n+++ f\n"
            "@@ -1,5 +1,5 @@\n l1\n-l2\n+L2\n l3\n l4\n l5\n"
            "@@ -10,4 +10,5 @@\n l10\n l11\n l12\n-end\n\\ No newline at end of file\n"
            "+e\n+nd\n\\ No newline at end of file\n");
}

}  // namespace
