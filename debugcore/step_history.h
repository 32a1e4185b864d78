// What each step of a debugged run changed, newest last, so that steps can
// be undone one at a time. Bounded: past a number of entries, or of bytes
// of the value texts it keeps, the oldest entries are dropped.
//
// An entry is 32 bytes; the ring of entries is allocated once, at its
// full size, and its memory becomes resident as the history fills. A value is kept packed, as the
// run-time stack keeps one (its numbers, and a text only where they cannot form it again), its text
// in a list beside the entries; an append to a string keeps only the old length.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "run_value.h"

enum class EntryKind : uint8_t {
  Plain,     // no variable, stack or flag changed: print, jumps, halt
  Write,     // variable held before.value
  Append,    // variable's text was before.length bytes long
  Compare,   // the flags were before.flagBits
  Input,     // variable held before.value; amount is the input read
  Push,      // one value was pushed
  Pop,       // the top was popped into variable, which held before.value
  PopEmpty,  // the stack was empty: variable held before.value
  Edit,      // not a step: the debugger set variable, which held before.value
};

struct HistoryEntry {
  union Before {
    RunValue::Packed value;
    uint64_t length;
    uint8_t flagBits;
  } before;
  int32_t position;  // the record the step carried out
  int32_t variable;  // the variable it changed, or -1
  // Bytes of output the step wrote; for Input, bytes of input it read.
  // kAmountInSideList: the amount did not fit, see amountOf().
  uint32_t amount;
  EntryKind kind;
  bool hasText;  // before.value came with a text, kept in the text list
};
static_assert(sizeof(HistoryEntry) <= 32, "a history entry stays small");

constexpr uint32_t kAmountInSideList = UINT32_MAX;

class StepHistory {
 public:
  StepHistory(uint64_t maxEntries, uint64_t maxTextBytes);

  bool recording() const { return maxEntries_ > 0; }
  bool empty() const { return size_ == 0; }
  uint64_t size() const { return size_; }
  // Entries that are steps, not edits.
  uint64_t steps() const { return size_ - edits_; }
  // Steps dropped to keep the bounds since the last clear().
  uint64_t dropped() const { return dropped_; }
  uint64_t bytes() const;

  // A new entry at the top, dropping the oldest when the history is full.
  // Its fields are set by the caller: pack() and setAmount() for the parts
  // that may go to the side lists. (These three run at every recorded step,
  // so they are inline.)
  HistoryEntry& push(EntryKind kind, int32_t position, int32_t variable) {
    if (size_ == capacity_) makeRoom();
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
  // Packs value into the top entry's before.value; a text it keeps may
  // drop the oldest entries (trim).
  void pack(const RunValue& value) {
    value.packInto(at(size_ - 1).before.value, scratch_);
    if (!scratch_.empty()) keepText();
  }
  void setAmount(uint64_t amount) {
    if (amount < kAmountInSideList) {
      at(size_ - 1).amount = static_cast<uint32_t>(amount);
    } else {
      keepAmount(amount);
    }
  }

  const HistoryEntry& top() const;
  // The top entry's amount, in full.
  uint64_t amountOfTop() const;
  // The value packed in the top entry, its text moved out of the list.
  RunValue takeValueOfTop();
  // The value packed in the top entry, copied.
  RunValue valueOfTop() const;
  // Removes the top entry.
  void pop();

  // Drops the oldest entries while the texts pass their bound (the newest
  // entry is always kept).
  void trim();
  // Empties the history, keeping the memory its entries took.
  void clear();

 private:
  // Both first_ and fromOldest lie below the ring's size: one subtraction
  // wraps their sum, where a division would cost more than the rest of a
  // step's recording.
  HistoryEntry& at(uint64_t fromOldest) {
    uint64_t index = first_ + fromOldest;
    if (index >= capacity_) index -= capacity_;
    return ring_[static_cast<std::size_t>(index)];
  }
  const HistoryEntry& at(uint64_t fromOldest) const {
    uint64_t index = first_ + fromOldest;
    if (index >= capacity_) index -= capacity_;
    return ring_[static_cast<std::size_t>(index)];
  }
  // The first entry allocates the ring, full size but untouched (the system
  // gives memory its pages as entries first reach them); a full ring then
  // drops its oldest entry.
  void makeRoom();
  void keepText();
  void keepAmount(uint64_t amount);
  void dropOldest();

  uint64_t maxEntries_;
  uint64_t maxTextBytes_;
  std::unique_ptr<HistoryEntry[]> ring_;
  uint64_t capacity_ = 0;  // entries ring_ has room for: 0 or maxEntries_
  uint64_t first_ = 0;     // index in ring_ of the oldest entry
  uint64_t size_ = 0;
  uint64_t edits_ = 0;
  uint64_t dropped_ = 0;
  std::deque<std::string> texts_;  // of the entries with hasText, oldest first
  uint64_t textBytes_ = 0;
  std::deque<uint64_t> amounts_;  // of the entries whose amount did not fit
  std::vector<std::string> scratch_;
};
