// The interpreter's code table: label and instruction records in file order,
// and the replacement of label names in jumps by label positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "bulk_memory.h"

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

// The same four texts, read in place: valid until the table next changes.
struct CodeRecordView {
  std::string_view opcode;
  std::string_view operand1;
  std::string_view operand2;
  std::string_view label;
};

class CodeTable {
 public:
  CodeTable() = default;
  ~CodeTable();
  CodeTable(const CodeTable&) = delete;
  CodeTable& operator=(const CodeTable&) = delete;

  void add(std::string_view opcode, std::string_view operand1, std::string_view operand2,
           std::string_view label);

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
  // Makes room for records records in all, so that a table of known size is
  // not copied as it grows.
  void reserve(int records);
  // index must lie in 0 to count() - 1. A copy of the record.
  CodeRecord operator[](int index) const;
  // index must lie in 0 to count() - 1.
  CodeRecordView view(int index) const;

 private:
  // A record's four texts lie one after the other at text, in a block of
  // blocks_ that never moves. A record with a text of 4 GiB or more is kept
  // whole in oversized_ instead, text is null and lengths[0] its index.
  struct PackedRecord {
    const char* text = nullptr;
    uint32_t lengths[4] = {0, 0, 0, 0};
  };
  struct Block {
    char* bytes;
    std::size_t size;
  };
  // A text that labels are named or jumps hold: its label records and its
  // jump records, each a list through links_ in the order added. The text
  // is read in place, in a record's stored texts, which never move.
  struct Name {
    std::string_view text;
    std::size_t hash;
    int32_t firstLabel, lastLabel, firstJump, lastJump;
    bool changeable;  // has both labels and jumps, so a pass may move them
  };
  struct Link {
    int32_t record;
    int32_t next;
  };

  PackedRecord pack(const CodeRecordView& record);
  void setOperand1(int index, std::string_view text);
  // The index in names_ of text, or -1.
  int32_t findName(std::string_view text, std::size_t hash) const;
  // The index in names_ of text, added when missing; text must stay where
  // it is for the life of the table.
  int32_t nameOf(std::string_view text);
  void append(int32_t& first, int32_t& last, int32_t record);
  void markChangeable(int32_t name);
  // The text a jump holding the text of name ends with after one pass.
  std::string passResult(int32_t name) const;

  std::vector<PackedRecord, BulkAllocator<PackedRecord>> records_;
  std::vector<Block> blocks_;
  char* free_ = nullptr;
  std::size_t freeLength_ = 0;
  std::size_t blockSize_ = 0;
  std::deque<CodeRecord> oversized_;

  std::vector<Name> names_;
  // Open addressing: an index in names_, or -1; the size a power of two.
  std::vector<int32_t> slots_;
  std::vector<Link> links_;
  // The names marked changeable.
  std::vector<int32_t> changeable_;
  // The groups of jumps one pass moves, kept to save allocations.
  struct Move {
    int32_t first;  // the name, then the group's first link
    int32_t last;
    std::string text;
  };
  std::vector<Move> moves_;
};
