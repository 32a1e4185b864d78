#include "code_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "value_conversions.h"

namespace {

// The straightforward label pass, kept as the reference the fast one must
// match: every label record against every jump record, labels in index
// order.
void referencePass(std::vector<CodeRecord>& records) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].label.empty()) continue;
    for (CodeRecord& jump : records) {
      int opcode = toInteger(jump.opcode);
      if (opcode >= 15 && opcode <= 21 && jump.operand1 == records[i].label) {
        jump.operand1 = std::to_string(i);
      }
    }
  }
}

void expectSameRecords(const CodeTable& table, const std::vector<CodeRecord>& wanted,
                       const std::string& context) {
  ASSERT_EQ(table.count(), static_cast<int>(wanted.size())) << context;
  for (int i = 0; i < table.count(); ++i) {
    const CodeRecord& got = table[i];
    const CodeRecord& want = wanted[static_cast<std::size_t>(i)];
    ASSERT_EQ(got.opcode, want.opcode) << context << " record " << i;
    ASSERT_EQ(got.operand1, want.operand1) << context << " record " << i;
    ASSERT_EQ(got.operand2, want.operand2) << context << " record " << i;
    ASSERT_EQ(got.label, want.label) << context << " record " << i;
  }
}

// Adds entries as the loader does: a label entry adds a record and no pass;
// an instruction entry adds a record and a pass; an entry of neither kind
// adds only a pass.
class LoaderModel {
 public:
  void label(const std::string& name) {
    table.add("-1", "0", "0", name);
    reference.push_back(CodeRecord{"-1", "0", "0", name});
  }
  void instruction(const std::string& opcode, const std::string& operand1) {
    table.add(opcode, operand1, "0", "");
    reference.push_back(CodeRecord{opcode, operand1, "0", ""});
    pass();
  }
  void pass() {
    table.resolveLabels();
    referencePass(reference);
  }

  CodeTable table;
  std::vector<CodeRecord> reference;
};

TEST(CodeTable, ResolvesForwardBackwardAndLeavesUnknownNames) {
  LoaderModel model;
  model.instruction("15", "end");   // 0: forward
  model.label("top");               // 1
  model.instruction("12", "top");   // 2: not a jump, keeps its name
  model.instruction("16", "top");   // 3: backward
  model.instruction("17", "none");  // 4: no such label
  model.label("end");               // 5
  model.instruction("0", "0");      // 6
  EXPECT_EQ(model.table[0].operand1, "5");
  EXPECT_EQ(model.table[2].operand1, "top");
  EXPECT_EQ(model.table[3].operand1, "1");
  EXPECT_EQ(model.table[4].operand1, "none");
}

TEST(CodeTable, LabelWithoutALaterPassIsNeverUsed) {
  LoaderModel model;
  model.instruction("15", "last");
  model.label("last");
  EXPECT_EQ(model.table[0].operand1, "last");
}

TEST(CodeTable, FirstOfTwoLabelsWithOneNameWins) {
  LoaderModel model;
  model.label("twice");
  model.label("twice");
  model.instruction("15", "twice");
  EXPECT_EQ(model.table[2].operand1, "0");
}

TEST(CodeTable, LaterLabelNamedByThePositionRedirectsInTheSamePass) {
  LoaderModel model;
  model.instruction("15", "a");  // 0
  model.label("a");              // 1
  model.label("1");              // 2
  model.instruction("0", "0");   // 3
  // "a" gives "1" at label 1, and label 2, named "1", then gives "2".
  EXPECT_EQ(model.table[0].operand1, "2");
}

TEST(CodeTable, DecimalLabelNamesCanCycleBetweenPasses) {
  LoaderModel model;
  model.instruction("15", "2");  // 0
  model.label("2");              // 1
  model.label("3");              // 2
  model.label("1");              // 3
  model.pass();
  EXPECT_EQ(model.table[0].operand1, "3");
  model.pass();
  EXPECT_EQ(model.table[0].operand1, "2");
  model.pass();
  EXPECT_EQ(model.table[0].operand1, "3");
}

TEST(CodeTable, OpcodeIsReadAsALeadingInteger) {
  LoaderModel model;
  model.label("x");
  model.instruction(" 16", "x");
  model.instruction("+17abc", "x");
  model.instruction("22", "x");
  model.instruction("\"15\"", "x");
  EXPECT_EQ(model.table[1].operand1, "0");
  EXPECT_EQ(model.table[2].operand1, "0");
  EXPECT_EQ(model.table[3].operand1, "x");
  EXPECT_EQ(model.table[4].operand1, "x");
}

// Generated files, many of them adversarial: decimal label names near the
// positions in use, duplicates, empty names, names with blanks, jumps and
// other opcodes naming labels and numbers, entries that add only a pass.
TEST(CodeTable, MatchesTheStraightforwardPassOnGeneratedFiles) {
  const std::vector<std::string> names = {"",  "a", "b", " a", "a ", "stop", "0",  "1", "2",
                                          "3", "4", "5", "7",  "10", "12",   "01", "_x"};
  const std::vector<std::string> opcodes = {"15", "16",  "17", "18", "19",  "20",
                                            "21", " 21", "14", "1",  "x15", "0"};
  std::mt19937 random(20261209);
  for (int file = 0; file < 600; ++file) {
    LoaderModel model;
    // Later files are longer and name labels and jumps by positions that
    // occur in them.
    const bool numeric = file >= 400;
    const int entries = 1 + static_cast<int>(random() % (numeric ? 120 : 40));
    const std::size_t nameLimit = 1 + random() % names.size();
    for (int entry = 0; entry < entries; ++entry) {
      const std::string name = numeric && random() % 3 != 0
                                   ? std::to_string(random() % static_cast<unsigned>(entries))
                                   : names[random() % nameLimit];
      auto kind = random() % 10;
      if (kind < 4) {
        model.label(name);
      } else if (kind < 9) {
        model.instruction(opcodes[random() % opcodes.size()], name);
      } else {
        model.pass();
      }
      expectSameRecords(model.table, model.reference, "file " + std::to_string(file));
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
