// Text to number and number to text, by hand where the library would bring
// in the locale or accept more than the instructions may.
#include "value_conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipBlanks(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  return at;
}

int32_t fromUnsigned(uint32_t bits) { return static_cast<int32_t>(bits); }

// The decimal digits of a positive finite value's exact expansion, most
// significant first, and its decimal exponent: value = 0.d1 d2 ... x 10^(exp+1).
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

// printf's %e prints the value exactly rounded to the precision asked; with
// 40 digits after the point the rounding only matters when the tail after
// the tenth digit reads exactly 5000...0, and then the exact expansion
// (never longer than 767 significant digits) is taken.
DecimalDigits exactDigits(double magnitude, int precision) {
  std::string buffer(static_cast<std::size_t>(precision) + 32, '\0');
  int length = std::snprintf(&buffer[0], buffer.size(), "%.*e", precision, magnitude);
  DecimalDigits result;
  if (length <= 0) return result;
  buffer.resize(static_cast<std::size_t>(length));
  std::size_t at = 0;
  for (; at < buffer.size() && buffer[at] != 'e' && buffer[at] != 'E'; ++at) {
    if (isDigit(buffer[at])) result.digits += buffer[at];
  }
  int exponent = 0;
  bool negative = false;
  for (++at; at < buffer.size(); ++at) {
    if (buffer[at] == '-') negative = true;
    if (isDigit(buffer[at])) exponent = exponent * 10 + (buffer[at] - '0');
  }
  result.exponent = negative ? -exponent : exponent;
  return result;
}

bool tailIsExactHalf(const std::string& digits, std::size_t from) {
  if (from >= digits.size() || digits[from] != '5') return false;
  for (std::size_t i = from + 1; i < digits.size(); ++i) {
    if (digits[i] != '0') return false;
  }
  return true;
}

constexpr std::size_t kSignificant = 10;

// Rounds the digits to ten, half up; a carry out of the first digit raises
// the exponent.
void roundToTen(DecimalDigits& number) {
  bool up = number.digits.size() > kSignificant && number.digits[kSignificant] >= '5';
  number.digits.resize(kSignificant, '0');
  if (!up) return;
  for (std::size_t i = kSignificant; i-- > 0;) {
    if (number.digits[i] != '9') {
      ++number.digits[i];
      return;
    }
    number.digits[i] = '0';
  }
  number.digits = "1" + number.digits.substr(0, kSignificant - 1);
  ++number.exponent;
}

void trimFractionZeros(std::string& fraction) {
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
}

std::string exponentialForm(const DecimalDigits& number) {
  std::string fraction = number.digits.substr(1);
  trimFractionZeros(fraction);
  int exponent = number.exponent;
  std::string text = number.digits.substr(0, 1) + "." + fraction + "e";
  text += exponent < 0 ? '-' : '+';
  unsigned magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03u", magnitude);
  return text + buffer;
}

// Fixed form with decimals digits after the point, from ten significant
// digits that start at 10^exponent.
std::string fixedForm(const DecimalDigits& number, int decimals) {
  auto digitAt = [&](int power) {
    int index = number.exponent - power;
    if (index < 0 || index >= static_cast<int>(number.digits.size())) return '0';
    return number.digits[static_cast<std::size_t>(index)];
  };
  std::string integerPart;
  for (int power = number.exponent; power >= 0; --power) integerPart += digitAt(power);
  if (integerPart.empty()) integerPart = "0";
  if (decimals <= 0) return integerPart;
  std::string fraction;
  for (int power = -1; power >= -decimals; --power) fraction += digitAt(power);
  trimFractionZeros(fraction);
  return integerPart + "." + fraction;
}

// The decimal exponent of the number in [first, last), a checked prefix as
// toFloat takes it; decides an out-of-range result between overflow and
// underflow. Saturates far beyond the double range either way.
int64_t decimalExponent(const char* first, const char* last) {
  const int64_t far = 1000000;
  int64_t exponent = -1;
  bool seenNonZero = false;
  bool afterPoint = false;
  const char* p = first;
  for (; p != last && *p != 'e' && *p != 'E'; ++p) {
    if (*p == '.') {
      afterPoint = true;
    } else if (!seenNonZero && *p != '0') {
      seenNonZero = true;
      if (!afterPoint) exponent = 0;
    } else if (seenNonZero && !afterPoint) {
      if (exponent < far) ++exponent;
    } else if (!seenNonZero && afterPoint) {
      if (exponent > -far) --exponent;
    }
  }
  if (p == last) return exponent;
  ++p;
  bool negative = false;
  if (p != last && (*p == '+' || *p == '-')) negative = *p++ == '-';
  int64_t written = 0;
  for (; p != last; ++p) {
    if (written < far) written = written * 10 + (*p - '0');
  }
  return exponent + (negative ? -written : written);
}

// Reads an optional '+' or '-' at position at, moving past it; true for '-'.
bool readSign(const std::string& text, std::size_t& at) {
  if (at >= text.size() || (text[at] != '+' && text[at] != '-')) return false;
  return text[at++] == '-';
}

}  // namespace

int32_t toInteger(const std::string& text) {
  std::size_t at = skipBlanks(text);
  const bool negative = readSign(text, at);
  // Accumulated as a magnitude that stops growing once past the range.
  const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) {
    if (magnitude <= limit) magnitude = magnitude * 10 + (text[at] - '0');
  }
  if (negative) {
    return magnitude >= limit ? std::numeric_limits<int32_t>::min()
                              : static_cast<int32_t>(-magnitude);
  }
  return magnitude >= limit ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(magnitude);
}

double toFloat(const std::string& text) {
  std::size_t at = skipBlanks(text);
  const bool negative = readSign(text, at);
  const std::size_t numberStart = at;
  std::size_t digits = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) ++digits;
  if (at < text.size() && text[at] == '.') {
    ++at;
    for (; at < text.size() && isDigit(text[at]); ++at) ++digits;
  }
  if (digits == 0) return 0.0;
  std::size_t numberEnd = at;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t exponentAt = at + 1;
    if (exponentAt < text.size() && (text[exponentAt] == '+' || text[exponentAt] == '-')) {
      ++exponentAt;
    }
    if (exponentAt < text.size() && isDigit(text[exponentAt])) {
      while (exponentAt < text.size() && isDigit(text[exponentAt])) ++exponentAt;
      numberEnd = exponentAt;
    }
  }
  const char* first = text.data() + numberStart;
  const char* last = text.data() + numberEnd;
  double value = 0.0;
  std::from_chars_result parsed = std::from_chars(first, last, value, std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) {
    value = decimalExponent(first, last) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

std::string integerText(int32_t value) { return std::to_string(value); }

std::string floatText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  std::string sign = std::signbit(value) ? "-" : "";
  double magnitude = std::fabs(value);
  DecimalDigits number;
  if (magnitude == 0.0) {
    number.digits = std::string(kSignificant, '0');
    number.exponent = -1;
  } else {
    number = exactDigits(magnitude, 40);
    if (tailIsExactHalf(number.digits, kSignificant)) number = exactDigits(magnitude, 800);
  }
  const int m = number.exponent;
  roundToTen(number);
  if (m < -1 || m > 9) return sign + exponentialForm(number);
  return sign + fixedForm(number, 9 - m);
}

int32_t wrappingAdd(int32_t a, int32_t b) {
  return fromUnsigned(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t wrappingSub(int32_t a, int32_t b) {
  return fromUnsigned(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

int32_t wrappingMul(int32_t a, int32_t b) {
  return fromUnsigned(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

int32_t wrappingDiv(int32_t a, int32_t b) {
  if (b == -1) return wrappingSub(0, a);
  return a / b;
}
