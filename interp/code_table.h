// The interpreter's code table: label and instruction records in file order,
// and the replacement of label names in jumps by label positions.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// One code entry. An instruction record holds its opcode and operand texts
// and an empty label; a label record holds "-1", "0", "0" and its name. Once
// a jump (opcode 15 to 21) is resolved, operand1 holds the decimal position
// of its label record.
struct CodeRecord {
  std::string opcode;
  std::string operand1;
  std::string operand2;
  std::string label;
};

class CodeTable {
 public:
  void add(const std::string& opcode, const std::string& operand1, const std::string& operand2,
           const std::string& label);

  // One label pass: for each record i with a non-empty label, in index
  // order, every jump record whose operand1 equals that label exactly gets
  // the decimal text of i. A jump set to "3" by one label can so be
  // redirected within the same pass by a later label named "3".
  //
  // Only jumps whose current text is a present label name can change, so
  // the pass touches just those, grouped by text; a pass with nothing to do
  // costs nothing, and loading stays near linear in the file.
  void resolveLabels();

  int count() const { return static_cast<int>(records_.size()); }
  // index must lie in 0 to count() - 1.
  const CodeRecord& operator[](int index) const {
    return records_[static_cast<std::size_t>(index)];
  }

 private:
  // The text a jump holding text ends with after one pass.
  std::string passResult(const std::string& text) const;

  std::vector<CodeRecord> records_;
  // Positions of the label records by name, ascending.
  std::unordered_map<std::string, std::vector<int>> labelsByName_;
  // Positions of the jump records by their current operand1.
  std::unordered_map<std::string, std::vector<int>> jumpsByText_;
  // The keys of jumpsByText_ that are also label names.
  std::unordered_set<std::string> changeable_;
};
