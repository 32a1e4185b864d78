// The slow paths of RunValue: forming a pending text and parsing a text.
#include "run_value.h"

#include <ostream>

#include "escapes.h"

std::size_t RunValue::writePending(char* buffer) const {
  if ((flags_ & kFromInteger) != 0) return writeIntegerText(integer_, buffer);
  return writeFloatText(number_, buffer);
}

void RunValue::formText() {
  char buffer[kFloatTextCapacity];
  text_.assign(buffer, writePending(buffer));
  flags_ |= kText;
}

int32_t RunValue::parseInteger() {
  integer_ = toInteger(text());
  flags_ |= kInteger;
  return integer_;
}

double RunValue::parseFloat() {
  if ((flags_ & kFromInteger) != 0) {
    // toFloat of integerText(n) is n itself.
    number_ = static_cast<double>(integer_);
    flags_ |= kFloat;
    return number_;
  }
  // The text first: a pending float text is formed from number_.
  const std::string& current = text();
  number_ = toFloat(current);
  // number_ no longer forms the text.
  flags_ = static_cast<uint8_t>((flags_ & ~kFromFloat) | kFloat);
  return number_;
}

void RunValue::appendText(std::string_view addition) {
  text();
  text_.append(addition.data(), addition.size());
  flags_ = kText;
}

void RunValue::print(std::ostream& out, std::string& scratch) {
  if ((flags_ & kText) == 0) {
    // A number's text holds no escape and no quote.
    char buffer[kFloatTextCapacity];
    out.write(buffer, static_cast<std::streamsize>(writePending(buffer)));
    return;
  }
  if (text_.find_first_of("\\\"") == std::string::npos) {
    out.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    return;
  }
  scratch = expandEscapes(text_);
  out.write(scratch.data(), static_cast<std::streamsize>(scratch.size()));
}
