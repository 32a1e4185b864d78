// The debugger's view of a program: instructions in source form, places
// named by line, label or record, and how a position is described.
#include "program_map.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "debug_program.h"
#include "interpreter.h"

namespace {

// A loaded program and its map, from a source or a bytecode text.
struct Mapped {
  Interpreter interpreter;
  DebugProgram program;
  std::unique_ptr<ProgramMap> map;

  std::string place(const std::string& text) const {
    PlaceResult result = map->resolve(text);
    return result.record >= 0 ? "#" + std::to_string(result.record) : result.problem;
  }
};

void fromSource(Mapped& mapped, const std::string& source) {
  std::vector<std::string> messages;
  ASSERT_TRUE(assembleProgram("s.tarnel", source, mapped.program, messages));
  mapped.interpreter.loadText(mapped.program.bytecode);
  mapped.map = std::make_unique<ProgramMap>(mapped.interpreter.code, mapped.program);
}

void fromBytecode(Mapped& mapped, const std::string& text) {
  mapped.program.path = "b.kiv";
  mapped.program.bytecode = text;
  mapped.interpreter.loadText(text);
  mapped.map = std::make_unique<ProgramMap>(mapped.interpreter.code, mapped.program);
}

const char kSource[] =
    "kiv s {\n"
    "var {\n"
    "var& n := 2\n"
    "}\n"
    "begin {\n"
    "; a comment line\n"
    "top:\n"
    "again:\n"
    "    dec n\n"
    "    cmp n,0\n"
    "    jg top\n"
    "\n"
    "    print \"done\"\n"
    "}\n"
    "}\n";

TEST(ProgramMap, NamesPlacesBySourceLineLabelAndRecord) {
  Mapped m;
  fromSource(m, kSource);
  ASSERT_EQ(m.map->count(), 8);
  struct Case {
    const char* place;
    const char* wanted;
  } cases[] = {
      {"9", "#2"},  // the line's own record
      {"7", "#2"},  // a label line: the first instruction after it
      {"6", "#2"},  // a comment line: the next line with a record
      {"12", "#5"},
      {"14", "#7"},  // the code block's closing brace: the halt
      {"15", "no instruction at or after line 15"},
      {"-1", "there is no line -1: s.tarnel has 15 lines"},
      {"s.tarnel:9", "#2"},
      {"dir/s.tarnel:9", "no file dir/s.tarnel here: the program is s.tarnel"},
      {"s.tarnel:99", "there is no line 99: s.tarnel has 15 lines"},
      {"16", "there is no line 16: s.tarnel has 15 lines"},
      {"0", "there is no line 0: s.tarnel has 15 lines"},
      {"99999999999", "there is no line 99999999999: s.tarnel has 15 lines"},
      {"top", "#2"},
      {"TOP", "#2"},  // the source was read in lower case
      {"again", "#2"},
      {"stop", "#7"},  // the closing label: the halt record
      {"nowhere", "no label named nowhere"},
      {"#0", "#2"},
      {"#5", "#5"},
      {"#8", "there is no record #8: the records are #0 to #7"},
      {"#x", "\"#\" needs a record position, such as #4"},
      {"#", "\"#\" needs a record position, such as #4"},
  };
  for (const Case& c : cases) EXPECT_EQ(m.place(c.place), c.wanted) << "place " << c.place;
}

TEST(ProgramMap, DescribesPositions) {
  Mapped m;
  fromSource(m, kSource);
  EXPECT_EQ(m.map->describe(2), "#2 (line 9): dec n");
  EXPECT_EQ(m.map->describe(4), "#4 (line 11): jg top");
  EXPECT_EQ(m.map->describe(7), "#7 (line 14): halt");
  EXPECT_EQ(m.map->describe(8), "#8: the end of the program");
  EXPECT_EQ(m.map->lineAt(5), 13);
  EXPECT_EQ(m.map->lineAt(7), 14);
  EXPECT_EQ(m.map->lineAt(8), 0);
  EXPECT_EQ(m.map->lineText(13), "    print \"done\"");
  EXPECT_EQ(m.map->instructionFrom(0), 2);
  EXPECT_EQ(m.map->instructionFrom(8), 8);
}

TEST(ProgramMap, ShowsBytecodeRecordsInSourceForm) {
  Mapped m;
  fromBytecode(m,
               "var{n&:2,con0&:0}code{top@,3!n:0,14!n:0,19!top:0,19!nowhere:0,15!_x:0,"
               "57!a:b,15!99:0,4!n:5,13!n:7, sp@,0!0:0}");
  const char* wanted[] = {
      "top:",   "dec n",   "cmp n,0", "jg top", "jg nowhere", "jmp _x", "57!a:b (passed over)",
      "jmp 99", "add n,5", "input n", " sp:",   "halt"};
  ASSERT_EQ(m.map->count(), 12);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(m.map->record(i).instruction, wanted[i]) << "#" << i;
  EXPECT_FALSE(m.map->fromSource());
  EXPECT_EQ(m.map->describe(1), "#1: dec n");
  // Without lines, digits name records; a label may be named without its blank.
  EXPECT_EQ(m.place("3"), "#3");
  EXPECT_EQ(m.place("0"), "#1");
  EXPECT_EQ(m.place("sp"), "#11");
  EXPECT_EQ(m.place("TOP"), "no label named TOP");
  EXPECT_EQ(m.place("12"), "there is no record #12: the records are #0 to #11");
  EXPECT_EQ(m.place("-1"), "there is no record #-1: the records are #0 to #11");
}

TEST(ProgramMap, AnIndentedLabelComesWithTheCheckersWarning) {
  Mapped m;
  fromSource(m, "kiv i {\nvar {\nvar& n\n}\nbegin {\n  top:\n    inc n\n    jmp top\n}\n}\n");
  const PlaceResult place = m.map->resolve("top");
  EXPECT_EQ(place.record, 1);
  EXPECT_EQ(place.note,
            "this label is indented, so its name keeps a blank in front and the jumps to \"top\" "
            "never find it: kivinterp reports \"invalid code label top\"; start the label in the "
            "first column");
  EXPECT_EQ(m.map->resolve("7").note, "");
}

TEST(ProgramMap, AProgramWithoutRecords) {
  Mapped m;
  fromBytecode(m, "var{con0&:0}code{0!0:0}");
  EXPECT_EQ(m.map->count(), 0);
  EXPECT_EQ(m.place("#0"), "the program has no records");
  EXPECT_EQ(m.map->describe(0), "#0: the end of the program");
  // A label at the very end has no instruction after it.
  Mapped end;
  fromBytecode(end, "var{}code{0!0:0,last@,}");
  EXPECT_EQ(end.place("last"), "no instruction follows label last");
  EXPECT_EQ(end.place("#1"), "no instruction follows #1");
}

TEST(ProgramMap, ParsesCountsWithinTheirLimit) {
  unsigned long long value = 0;
  EXPECT_TRUE(parseCount("0", 10, value));
  EXPECT_EQ(value, 0u);
  EXPECT_TRUE(parseCount("10", 10, value));
  EXPECT_EQ(value, 10u);
  EXPECT_FALSE(parseCount("11", 10, value));
  EXPECT_FALSE(parseCount("", 10, value));
  EXPECT_FALSE(parseCount("-1", 10, value));
  EXPECT_FALSE(parseCount("1 ", 10, value));
  EXPECT_TRUE(parseCount("18446744073709551615", UINT64_MAX, value));
  EXPECT_FALSE(parseCount("18446744073709551616", UINT64_MAX, value));
}

}  // namespace
