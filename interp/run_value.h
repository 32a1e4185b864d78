// RunValue: a variable's value while a program runs. The value is its text,
// as the interpreter's rules define it; beside the text it keeps the numbers
// the text parses to (toInteger, toFloat), valid until the text changes.
// Arithmetic stores its result as a number and the text is formed only when
// something reads it, so a loop of additions never formats a number.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "value_conversions.h"

class RunValue {
 public:
  RunValue() = default;
  explicit RunValue(std::string text) : text_(std::move(text)) {}
  // Copies leave a text that is not current behind.
  RunValue(const RunValue& other) { copyFrom(other); }
  RunValue& operator=(const RunValue& other) {
    if (this != &other) copyFrom(other);
    return *this;
  }
  RunValue(RunValue&&) noexcept = default;
  RunValue& operator=(RunValue&&) noexcept = default;

  // The text, formed now if a number was stored since it was last read.
  const std::string& text() {
    if ((flags_ & kText) == 0) formText();
    return text_;
  }
  // toInteger of the text.
  int32_t integer() { return (flags_ & kInteger) != 0 ? integer_ : parseInteger(); }
  // toFloat of the text.
  double number() { return (flags_ & kFloat) != 0 ? number_ : parseFloat(); }

  void setText(std::string text) {
    text_ = std::move(text);
    flags_ = kText;
  }
  void appendText(std::string_view addition);
  // Keeps the first length bytes of the text (all of it when shorter): an
  // appendText undone.
  void truncateText(std::size_t length) {
    text();
    if (length < text_.size()) text_.resize(length);
    flags_ = kText;
  }
  // The text becomes integerText(value).
  void setInteger(int32_t value) {
    integer_ = value;
    flags_ = kInteger | kFromInteger;
  }
  // The text becomes floatText(value).
  void setFloat(double value) {
    number_ = value;
    flags_ = floatTextReadsBackExactly(value) ? kFloat | kFromFloat : kFromFloat;
  }
  // Parses the text now, so that later reads find both numbers.
  void parseBoth() {
    integer();
    number();
  }

  // A value on the run-time stack: the numbers, and the text only where the
  // numbers cannot form it again, kept apart in a list of texts.
  struct Packed {
    double number;
    int32_t integer;
    uint8_t flags;
  };
  // Packs a copy of the value, its text (when needed) added to texts.
  void packInto(Packed& packed, std::vector<std::string>& texts) const {
    packed.number = number_;
    packed.integer = integer_;
    if ((flags_ & (kFromInteger | kFromFloat)) != 0) {
      packed.flags = static_cast<uint8_t>(flags_ & ~kText);
    } else {
      packed.flags = flags_;
      texts.push_back(text_);
    }
  }
  // Takes the value back, its text (when packed with one) from the end of
  // texts.
  void unpackFrom(const Packed& packed, std::vector<std::string>& texts) {
    number_ = packed.number;
    integer_ = packed.integer;
    flags_ = packed.flags;
    if ((flags_ & kText) != 0) {
      if (texts.empty()) {
        text_.clear();
        return;
      }
      text_ = std::move(texts.back());
      texts.pop_back();
    }
  }

  // Writes the text with backslash-n and backslash-t expanded and double
  // quotes dropped, as print does; scratch is working space.
  void print(std::ostream& out, std::string& scratch);

 private:
  enum : uint8_t {
    kText = 1,         // text_ is current
    kInteger = 2,      // integer_ is toInteger of the text
    kFloat = 4,        // number_ is toFloat of the text
    kFromInteger = 8,  // the text is integerText(integer_)
    kFromFloat = 16,   // the text is floatText(number_)
  };

  void copyFrom(const RunValue& other) {
    if ((other.flags_ & kText) != 0) text_ = other.text_;
    number_ = other.number_;
    integer_ = other.integer_;
    flags_ = other.flags_;
  }
  // Writes the pending text of a stored number into buffer, which has room
  // for kFloatTextCapacity bytes; returns its length.
  std::size_t writePending(char* buffer) const;
  void formText();
  int32_t parseInteger();
  double parseFloat();

  std::string text_;
  // Without kFloat but with kFromFloat, the result whose text is pending;
  // without kFloat but with kFromInteger, not yet set.
  double number_ = 0.0;
  int32_t integer_ = 0;
  uint8_t flags_ = kText;
};
