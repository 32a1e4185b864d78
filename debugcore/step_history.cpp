// The bounded history of a debugged run; see step_history.h.
#include "step_history.h"

#include <algorithm>
#include <utility>

namespace {

constexpr uint64_t kFirstRingSize = 1024;

}  // namespace

StepHistory::StepHistory(uint64_t maxEntries, uint64_t maxTextBytes)
    : maxEntries_(maxEntries), maxTextBytes_(maxTextBytes) {}

uint64_t StepHistory::bytes() const {
  return ring_.size() * sizeof(HistoryEntry) + textBytes_ + amounts_.size() * sizeof(uint64_t);
}

// Both first_ and fromOldest lie below the ring's size: one subtraction
// wraps their sum, where a division would cost more than the rest of a
// step's recording.
HistoryEntry& StepHistory::at(uint64_t fromOldest) {
  uint64_t index = first_ + fromOldest;
  if (index >= ring_.size()) index -= ring_.size();
  return ring_[static_cast<std::size_t>(index)];
}

const HistoryEntry& StepHistory::at(uint64_t fromOldest) const {
  uint64_t index = first_ + fromOldest;
  if (index >= ring_.size()) index -= ring_.size();
  return ring_[static_cast<std::size_t>(index)];
}

void StepHistory::grow() {
  const uint64_t size =
      std::min<uint64_t>(maxEntries_, std::max<uint64_t>(kFirstRingSize, ring_.size() * 2));
  std::vector<HistoryEntry> bigger(static_cast<std::size_t>(size));
  for (uint64_t i = 0; i < size_; ++i) bigger[static_cast<std::size_t>(i)] = at(i);
  ring_.swap(bigger);
  first_ = 0;
}

void StepHistory::dropOldest() {
  const HistoryEntry& oldest = at(0);
  if (oldest.hasText) {
    textBytes_ -= texts_.front().size();
    texts_.pop_front();
  }
  if (oldest.amount == kAmountInSideList) amounts_.pop_front();
  if (oldest.kind == EntryKind::Edit) {
    --edits_;
  } else {
    ++dropped_;
  }
  if (++first_ == ring_.size()) first_ = 0;
  --size_;
}

HistoryEntry& StepHistory::push(EntryKind kind, int32_t position, int32_t variable) {
  if (size_ == ring_.size()) {
    if (ring_.size() < maxEntries_) {
      grow();
    } else {
      dropOldest();
    }
  }
  ++size_;
  if (kind == EntryKind::Edit) ++edits_;
  HistoryEntry& entry = at(size_ - 1);
  entry.kind = kind;
  entry.position = position;
  entry.variable = variable;
  entry.amount = 0;
  entry.hasText = false;
  return entry;
}

void StepHistory::pack(const RunValue& value) {
  HistoryEntry& entry = at(size_ - 1);
  value.packInto(entry.before.value, scratch_);
  if (!scratch_.empty()) {
    textBytes_ += scratch_.back().size();
    texts_.push_back(std::move(scratch_.back()));
    scratch_.clear();
    entry.hasText = true;
    trim();
  }
}

void StepHistory::setAmount(uint64_t amount) {
  HistoryEntry& entry = at(size_ - 1);
  if (amount < kAmountInSideList) {
    entry.amount = static_cast<uint32_t>(amount);
  } else {
    entry.amount = kAmountInSideList;
    amounts_.push_back(amount);
  }
}

const HistoryEntry& StepHistory::top() const { return at(size_ - 1); }

uint64_t StepHistory::amountOfTop() const {
  const HistoryEntry& entry = top();
  return entry.amount == kAmountInSideList ? amounts_.back() : entry.amount;
}

RunValue StepHistory::takeValueOfTop() {
  HistoryEntry& entry = at(size_ - 1);
  if (entry.hasText) {
    textBytes_ -= texts_.back().size();
    scratch_.push_back(std::move(texts_.back()));
    texts_.pop_back();
    entry.hasText = false;
  }
  RunValue value;
  value.unpackFrom(entry.before.value, scratch_);
  scratch_.clear();
  return value;
}

RunValue StepHistory::valueOfTop() const {
  const HistoryEntry& entry = top();
  std::vector<std::string> texts;
  if (entry.hasText) texts.push_back(texts_.back());
  RunValue value;
  value.unpackFrom(entry.before.value, texts);
  return value;
}

void StepHistory::pop() {
  const HistoryEntry& entry = top();
  if (entry.hasText) {
    textBytes_ -= texts_.back().size();
    texts_.pop_back();
  }
  if (entry.amount == kAmountInSideList) amounts_.pop_back();
  if (entry.kind == EntryKind::Edit) --edits_;
  --size_;
}

void StepHistory::trim() {
  while (textBytes_ > maxTextBytes_ && size_ > 1) dropOldest();
}

void StepHistory::clear() {
  ring_.clear();
  ring_.shrink_to_fit();
  first_ = 0;
  size_ = 0;
  edits_ = 0;
  dropped_ = 0;
  texts_.clear();
  textBytes_ = 0;
  amounts_.clear();
}
