// The code table, its compact storage and its label pass.
#include "code_table.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "opcodes.h"
#include "value_conversions.h"

namespace {

// Records are packed into blocks that grow from the first size to the
// largest; a larger record gets a block of its own.
constexpr std::size_t kFirstBlockSize = std::size_t{1} << 12;
constexpr std::size_t kLargestBlockSize = std::size_t{2} << 20;

}  // namespace

CodeTable::~CodeTable() {
  for (const Block& block : blocks_) bulkFree(block.bytes, block.size);
}

void CodeTable::reserve(int records) {
  if (records > count()) records_.reserve(static_cast<std::size_t>(records));
}

CodeTable::PackedRecord CodeTable::pack(const CodeRecordView& record) {
  const std::string_view texts[4] = {record.opcode, record.operand1, record.operand2, record.label};
  PackedRecord packed;
  std::size_t total = 0;
  for (std::string_view text : texts) {
    if (text.size() > std::numeric_limits<uint32_t>::max()) {
      oversized_.push_back(CodeRecord{std::string(record.opcode), std::string(record.operand1),
                                      std::string(record.operand2), std::string(record.label)});
      packed.lengths[0] = static_cast<uint32_t>(oversized_.size() - 1);
      return packed;
    }
    total += text.size();
  }
  if (total > freeLength_ || free_ == nullptr) {
    const std::size_t grown =
        blocks_.empty() ? kFirstBlockSize : std::min(blockSize_ * 2, kLargestBlockSize);
    blockSize_ = grown;
    const std::size_t size = std::max(total, grown);
    // Left uninitialised: only the bytes written are ever read.
    blocks_.push_back(Block{static_cast<char*>(bulkAllocate(size)), size});
    free_ = blocks_.back().bytes;
    freeLength_ = size;
  }
  packed.text = free_;
  for (int i = 0; i < 4; ++i) {
    if (!texts[i].empty()) std::memcpy(free_, texts[i].data(), texts[i].size());
    free_ += texts[i].size();
    packed.lengths[i] = static_cast<uint32_t>(texts[i].size());
  }
  freeLength_ -= total;
  return packed;
}

CodeRecordView CodeTable::view(int index) const {
  const PackedRecord& packed = records_[static_cast<std::size_t>(index)];
  if (packed.text == nullptr) {
    if (packed.lengths[0] >= oversized_.size()) return CodeRecordView{};
    const CodeRecord& record = oversized_[packed.lengths[0]];
    return CodeRecordView{record.opcode, record.operand1, record.operand2, record.label};
  }
  CodeRecordView view;
  const char* at = packed.text;
  view.opcode = std::string_view(at, packed.lengths[0]);
  at += packed.lengths[0];
  view.operand1 = std::string_view(at, packed.lengths[1]);
  at += packed.lengths[1];
  view.operand2 = std::string_view(at, packed.lengths[2]);
  at += packed.lengths[2];
  view.label = std::string_view(at, packed.lengths[3]);
  return view;
}

CodeRecord CodeTable::operator[](int index) const {
  CodeRecordView record = view(index);
  return CodeRecord{std::string(record.opcode), std::string(record.operand1),
                    std::string(record.operand2), std::string(record.label)};
}

void CodeTable::add(std::string_view opcode, std::string_view operand1, std::string_view operand2,
                    std::string_view label) {
  const int index = count();
  records_.push_back(pack(CodeRecordView{opcode, operand1, operand2, label}));
  if (!label.empty()) {
    std::string name(label);
    if (jumpsByText_.count(name) != 0) changeable_.insert(name);
    labelsByName_[std::move(name)].push_back(index);
  }
  if (isJumpOpcode(toInteger(opcode))) {
    std::string text(operand1);
    if (labelsByName_.count(text) != 0) changeable_.insert(text);
    jumpsByText_[std::move(text)].push_back(index);
  }
}

void CodeTable::setOperand1(int index, const std::string& text) {
  CodeRecordView record = view(index);
  if (records_[static_cast<std::size_t>(index)].text == nullptr) {
    oversized_[records_[static_cast<std::size_t>(index)].lengths[0]].operand1 = text;
    return;
  }
  // The old texts stay in their block until the table goes; a jump is
  // rewritten at most a few times.
  records_[static_cast<std::size_t>(index)] =
      pack(CodeRecordView{record.opcode, text, record.operand2, record.label});
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
    for (int jump : jumps) setOperand1(jump, text);
    std::vector<int>& group = jumpsByText_[text];
    group.insert(group.end(), jumps.begin(), jumps.end());
    if (labelsByName_.count(text) != 0) changeable_.insert(text);
  }
}
