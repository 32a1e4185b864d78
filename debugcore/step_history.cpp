// The bounded history of a debugged run; see step_history.h.
#include "step_history.h"

#include <algorithm>
#include <utility>

StepHistory::StepHistory(uint64_t maxEntries, uint64_t maxTextBytes)
    : maxEntries_(maxEntries), maxTextBytes_(maxTextBytes) {}

uint64_t StepHistory::bytes() const {
  return size_ * sizeof(HistoryEntry) + textBytes_ + amounts_.size() * sizeof(uint64_t);
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
  if (++first_ == capacity_) first_ = 0;
  --size_;
}

void StepHistory::makeRoom() {
  if (capacity_ == 0) {
    // Default-initialised: no byte is written until an entry is.
    ring_.reset(new HistoryEntry[static_cast<std::size_t>(maxEntries_)]);
    capacity_ = maxEntries_;
    return;
  }
  dropOldest();
}

void StepHistory::keepText() {
  HistoryEntry& entry = at(size_ - 1);
  textBytes_ += scratch_.back().size();
  texts_.push_back(std::move(scratch_.back()));
  scratch_.clear();
  entry.hasText = true;
  trim();
}

void StepHistory::keepAmount(uint64_t amount) {
  at(size_ - 1).amount = kAmountInSideList;
  amounts_.push_back(amount);
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
  // The ring stays: a session that runs again records into memory it has
  // already touched.
  first_ = 0;
  size_ = 0;
  edits_ = 0;
  dropped_ = 0;
  texts_.clear();
  textBytes_ = 0;
  amounts_.clear();
}
