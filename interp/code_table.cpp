// The code table, its compact storage and its label pass.
#include "code_table.h"

#include <algorithm>
#include <cstring>
#include <functional>
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

int32_t CodeTable::findName(std::string_view text, std::size_t hash) const {
  if (slots_.empty()) return -1;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const int32_t name = slots_[slot];
    if (name < 0) return -1;
    const Name& candidate = names_[static_cast<std::size_t>(name)];
    if (candidate.hash == hash && candidate.text == text) return name;
  }
}

int32_t CodeTable::nameOf(std::string_view text) {
  const std::size_t hash = std::hash<std::string_view>()(text);
  const int32_t found = findName(text, hash);
  if (found >= 0) return found;
  // Kept at most half full, so that a search soon meets an empty slot.
  if ((names_.size() + 1) * 2 > slots_.size()) {
    slots_.assign(std::max<std::size_t>(64, slots_.size() * 2), -1);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t name = 0; name < names_.size(); ++name) {
      std::size_t slot = names_[name].hash & mask;
      while (slots_[slot] >= 0) slot = (slot + 1) & mask;
      slots_[slot] = static_cast<int32_t>(name);
    }
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = hash & mask;
  while (slots_[slot] >= 0) slot = (slot + 1) & mask;
  slots_[slot] = static_cast<int32_t>(names_.size());
  names_.push_back(Name{text, hash, -1, -1, -1, -1, false});
  return slots_[slot];
}

void CodeTable::append(int32_t& first, int32_t& last, int32_t record) {
  const auto link = static_cast<int32_t>(links_.size());
  links_.push_back(Link{record, -1});
  if (last >= 0) {
    links_[static_cast<std::size_t>(last)].next = link;
  } else {
    first = link;
  }
  last = link;
}

void CodeTable::markChangeable(int32_t name) {
  Name& entry = names_[static_cast<std::size_t>(name)];
  if (entry.changeable || entry.firstLabel < 0 || entry.firstJump < 0) return;
  entry.changeable = true;
  changeable_.push_back(name);
}

void CodeTable::add(std::string_view opcode, std::string_view operand1, std::string_view operand2,
                    std::string_view label) {
  const int index = count();
  records_.push_back(pack(CodeRecordView{opcode, operand1, operand2, label}));
  // The names are read where the record keeps its texts.
  const CodeRecordView stored = view(index);
  if (!label.empty()) {
    const int32_t name = nameOf(stored.label);
    Name& entry = names_[static_cast<std::size_t>(name)];
    append(entry.firstLabel, entry.lastLabel, index);
    markChangeable(name);
  }
  if (isJumpOpcode(toInteger(opcode))) {
    const int32_t name = nameOf(stored.operand1);
    Name& entry = names_[static_cast<std::size_t>(name)];
    append(entry.firstJump, entry.lastJump, index);
    markChangeable(name);
  }
}

void CodeTable::setOperand1(int index, std::string_view text) {
  CodeRecordView record = view(index);
  PackedRecord& packed = records_[static_cast<std::size_t>(index)];
  // The old texts stay where they are, for the names that read them; a
  // jump is rewritten at most a few times.
  packed = pack(CodeRecordView{record.opcode, text, record.operand2, record.label});
}

std::string CodeTable::passResult(int32_t name) const {
  std::string current(names_[static_cast<std::size_t>(name)].text);
  int position = -1;
  for (;;) {
    // The first label of that name after the one that gave this text.
    int32_t link = names_[static_cast<std::size_t>(name)].firstLabel;
    while (link >= 0 && links_[static_cast<std::size_t>(link)].record <= position) {
      link = links_[static_cast<std::size_t>(link)].next;
    }
    if (link < 0) return current;
    position = links_[static_cast<std::size_t>(link)].record;
    current = std::to_string(position);
    name = findName(current, std::hash<std::string_view>()(current));
    if (name < 0) return current;
  }
}

void CodeTable::resolveLabels() {
  if (changeable_.empty()) return;
  // Every group's new text is taken from the state before the pass, and
  // only then are the groups moved, so that no jump moves twice.
  std::vector<Move>& moves = moves_;
  moves.clear();
  std::size_t kept = 0;
  for (int32_t name : changeable_) {
    std::string result = passResult(name);
    if (result == names_[static_cast<std::size_t>(name)].text) {
      changeable_[kept++] = name;
    } else {
      moves.push_back(Move{name, -1, std::move(result)});
    }
  }
  changeable_.resize(kept);
  for (Move& move : moves) {
    Name& from = names_[static_cast<std::size_t>(move.first)];
    from.changeable = false;
    move.first = from.firstJump;
    move.last = from.lastJump;
    from.firstJump = -1;
    from.lastJump = -1;
  }
  for (const Move& move : moves) {
    int32_t lastRecord = -1;
    for (int32_t link = move.first; link >= 0; link = links_[static_cast<std::size_t>(link)].next) {
      lastRecord = links_[static_cast<std::size_t>(link)].record;
      setOperand1(lastRecord, move.text);
    }
    if (lastRecord < 0) continue;
    // The new text, read where the last jump moved now keeps it.
    const int32_t name = nameOf(view(lastRecord).operand1);
    Name& to = names_[static_cast<std::size_t>(name)];
    if (to.lastJump >= 0) {
      links_[static_cast<std::size_t>(to.lastJump)].next = move.first;
    } else {
      to.firstJump = move.first;
    }
    to.lastJump = move.last;
    markChangeable(name);
  }
}
