// The program's console in the core: the input queue's word rules, read by
// the stream extraction the engine uses, and the output record's length
// as steps are taken back.
#include "program_streams.h"

#include <gtest/gtest.h>

#include <istream>
#include <ostream>
#include <string>

namespace {

TEST(InputQueue, AWordIsWholeOnceWhiteSpaceOrTheEndFollowsIt) {
  struct Case {
    const char* text;
    bool ended;
    bool wanted;
  } cases[] = {
      {"", false, false},        {"", true, false},      {"  \n\t", false, false},
      {"4", false, false},       {"4", true, true},      {"4 ", false, true},
      {"  12\r\n", false, true}, {"\v7\f", false, true}, {"a b", false, true},
  };
  for (const Case& c : cases) {
    InputQueue queue;
    queue.feed(c.text);
    if (c.ended) queue.end();
    EXPECT_EQ(queue.hasWord(), c.wanted) << "[" << c.text << "] ended " << c.ended;
  }
}

TEST(InputQueue, ReadsAsTheConsoleReadsAndGivesTextBack) {
  InputQueue queue;
  std::istream in(&queue);
  queue.feed("one  two");
  std::string word;
  in >> word;
  EXPECT_EQ(word, "one");
  // The blanks after the word stay unread, as on the console.
  EXPECT_EQ(queue.pending(), "  two");
  const uint64_t mark = queue.offset();
  queue.feed("\nthree\n");
  in >> word;
  EXPECT_EQ(word, "two");
  queue.rewind(mark);
  EXPECT_EQ(queue.pending(), "  two\nthree\n");
  in >> word >> word;
  EXPECT_EQ(word, "three");
  // Read out: the stream sees the end at once instead of waiting.
  EXPECT_FALSE(in >> word);
  queue.clear();
  in.clear();
  EXPECT_EQ(queue.offset(), 0u);
  queue.end();
  queue.feed("late");
  EXPECT_EQ(queue.pending(), "");
}

TEST(OutputRecord, CutsBackWhatWasNotTakenYet) {
  OutputRecord record;
  std::ostream out(&record);
  out << "abc";
  EXPECT_EQ(record.take(), "abc");
  out << "def" << 'g';
  EXPECT_EQ(record.length(), 7u);
  record.cutTo(5);
  EXPECT_EQ(record.take(), "de");
  // Beyond what is pending, only the length goes back.
  record.cutTo(1);
  EXPECT_EQ(record.length(), 1u);
  EXPECT_EQ(record.take(), "");
  record.cutTo(4);
  EXPECT_EQ(record.length(), 1u);
}

}  // namespace
