// The code table and its label pass.
#include "code_table.h"

#include <algorithm>
#include <utility>

#include "opcodes.h"
#include "value_conversions.h"

void CodeTable::add(const std::string& opcode, const std::string& operand1,
                    const std::string& operand2, const std::string& label) {
  const int index = count();
  records_.push_back(CodeRecord{opcode, operand1, operand2, label});
  if (!label.empty()) {
    labelsByName_[label].push_back(index);
    if (jumpsByText_.count(label) != 0) changeable_.insert(label);
  }
  if (isJumpOpcode(toInteger(opcode))) {
    jumpsByText_[operand1].push_back(index);
    if (labelsByName_.count(operand1) != 0) changeable_.insert(operand1);
  }
}

std::string CodeTable::passResult(const std::string& text) const {
  std::string current = text;
  int position = -1;
  for (;;) {
    auto found = labelsByName_.find(current);
    if (found == labelsByName_.end()) return current;
    const std::vector<int>& positions = found->second;
    auto next = std::upper_bound(positions.begin(), positions.end(), position);
    if (next == positions.end()) return current;
    position = *next;
    current = std::to_string(position);
  }
}

void CodeTable::resolveLabels() {
  if (changeable_.empty()) return;
  // Every group's new text is taken from the state before the pass, and
  // only then are the groups moved, so that no jump moves twice.
  std::vector<std::pair<std::string, std::vector<int>>> moved;
  std::vector<std::string> oldTexts;
  for (const std::string& text : changeable_) {
    std::string result = passResult(text);
    if (result != text) {
      oldTexts.push_back(text);
      moved.emplace_back(std::move(result), std::vector<int>());
    }
  }
  for (std::size_t i = 0; i < oldTexts.size(); ++i) {
    auto group = jumpsByText_.find(oldTexts[i]);
    moved[i].second = std::move(group->second);
    jumpsByText_.erase(group);
    changeable_.erase(oldTexts[i]);
  }
  for (auto& [text, jumps] : moved) {
    for (int jump : jumps) records_[static_cast<std::size_t>(jump)].operand1 = text;
    std::vector<int>& group = jumpsByText_[text];
    group.insert(group.end(), jumps.begin(), jumps.end());
    if (labelsByName_.count(text) != 0) changeable_.insert(text);
  }
}
