// Text to number and number to text, by hand where the library would bring
// in the locale or accept more than the instructions may.
//
// Two library services lie beneath: the shortest digits that read back as a
// double, and the correctly rounded reading of a decimal text. The C++
// library gives both through std::to_chars and std::from_chars. Where it has
// no floating-point versions of those (the C++ library of the WebAssembly
// build), TARNEL_PORTABLE_FLOAT_TEXT takes them from the header-only fmt and
// fast_float libraries instead; the tests run both ways and must agree.
#include "value_conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#if defined(TARNEL_PORTABLE_FLOAT_TEXT)
#ifndef FMT_HEADER_ONLY
#define FMT_HEADER_ONLY
#endif
#include <fast_float/fast_float.h>
#include <fmt/compile.h>
#include <fmt/format.h>
#endif

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipBlanks(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  return at;
}

// Reads an optional '+' or '-' at position at, moving past it; true for '-'.
bool readSign(std::string_view text, std::size_t& at) {
  if (at >= text.size() || (text[at] != '+' && text[at] != '-')) return false;
  return text[at++] == '-';
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

// The most digits the shortest text of a double can have.
constexpr int kMaxShortestDigits = 17;

#if defined(TARNEL_PORTABLE_FLOAT_TEXT)

// The shortest digits that read back as a positive normal magnitude, without
// leading or trailing zeros, and the decimal exponent of the first; returns
// how many there are.
//
// fmt writes the shortest text in fixed or exponent form as it sees fit
// ("0.001", "123.5", "1e+20", "1.5e-07"); both are read back here.
int shortestDigits(double magnitude, char* digits, int& exponent) {
  char buffer[48];
  const char* end = fmt::format_to_n(buffer, sizeof buffer, FMT_COMPILE("{}"), magnitude).out;
  int count = 0;
  int beforePoint = 0;      // digits seen before the point, leading zeros left out
  int zerosAfterPoint = 0;  // zeros after the point before the first digit
  bool afterPoint = false;
  const char* p = buffer;
  for (; p != end && *p != 'e'; ++p) {
    if (*p == '.') {
      afterPoint = true;
    } else if (count == 0 && *p == '0') {
      if (afterPoint) ++zerosAfterPoint;
    } else {
      if (count < kMaxShortestDigits) digits[count++] = *p;
      if (!afterPoint) ++beforePoint;
    }
  }
  exponent = beforePoint > 0 ? beforePoint - 1 : -1 - zerosAfterPoint;
  if (p != end) {
    bool negative = false;
    int written = 0;
    for (++p; p != end; ++p) {
      if (*p == '-') negative = true;
      if (isDigit(*p)) written = written * 10 + (*p - '0');
    }
    exponent += negative ? -written : written;
  }
  // Trailing zeros of the fixed form ("1200") are no digits of the shortest
  // text; the exponent form never writes them.
  while (count > 1 && digits[count - 1] == '0') --count;
  return count;
}

// The correctly rounded value of a checked decimal text; false when it lies
// outside the double range. fast_float then gives an infinity or zero, which
// is what toFloat makes of such a text either way.
bool readDecimal(const char* first, const char* last, double& value) {
  return fast_float::from_chars(first, last, value, fast_float::chars_format::general).ec ==
         std::errc();
}

#else

// The shortest text in exponent form, "d.ddde+XX".
int shortestDigits(double magnitude, char* digits, int& exponent) {
  char buffer[40];
  std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
  int count = 0;
  const char* p = buffer;
  for (; p != written.ptr && *p != 'e'; ++p) {
    if (*p != '.' && count < kMaxShortestDigits) digits[count++] = *p;
  }
  exponent = 0;
  bool negative = false;
  for (++p; p < written.ptr; ++p) {
    if (*p == '-') negative = true;
    if (isDigit(*p)) exponent = exponent * 10 + (*p - '0');
  }
  if (negative) exponent = -exponent;
  return count;
}

// The correctly rounded value of a checked decimal text; false when it lies
// outside the double range.
bool readDecimal(const char* first, const char* last, double& value) {
  std::from_chars_result parsed = std::from_chars(first, last, value, std::chars_format::general);
  return parsed.ec != std::errc::result_out_of_range;
}

#endif

constexpr int kSignificant = 10;

// A positive value rounded to ten significant digits: digits[0] is the
// leading digit, worth 10^exponent after rounding; m is the decimal exponent
// of the value before rounding, which chooses the written form.
struct TenDigits {
  char digits[kSignificant];
  int exponent = 0;
  int m = 0;
};

// Rounds a digit string (most significant first, no leading zero) to ten
// digits, half up on what the string holds; a carry out of the first digit
// raises the exponent.
TenDigits roundedDigits(const char* digits, int count, int exponent) {
  TenDigits result;
  result.exponent = exponent;
  result.m = exponent;
  for (int i = 0; i < kSignificant; ++i) result.digits[i] = i < count ? digits[i] : '0';
  if (count <= kSignificant || digits[kSignificant] < '5') return result;
  for (int i = kSignificant; i-- > 0;) {
    if (result.digits[i] != '9') {
      ++result.digits[i];
      return result;
    }
    result.digits[i] = '0';
  }
  result.digits[0] = '1';
  ++result.exponent;
  return result;
}

// The digits of a positive finite value's decimal expansion printed to
// precision + 1 significant digits (the C library rounds exactly), and its
// decimal exponent.
int exactDigits(double magnitude, int precision, std::string& digits) {
  std::string buffer(static_cast<std::size_t>(precision) + 32, '\0');
  int length = std::snprintf(&buffer[0], buffer.size(), "%.*e", precision, magnitude);
  digits.clear();
  if (length <= 0) return 0;
  buffer.resize(static_cast<std::size_t>(length));
  std::size_t at = 0;
  for (; at < buffer.size() && buffer[at] != 'e'; ++at) {
    if (isDigit(buffer[at])) digits += buffer[at];
  }
  int exponent = 0;
  bool negative = false;
  for (++at; at < buffer.size(); ++at) {
    if (buffer[at] == '-') negative = true;
    if (isDigit(buffer[at])) exponent = exponent * 10 + (buffer[at] - '0');
  }
  return negative ? -exponent : exponent;
}

// Rounding on the exact expansion: 41 digits decide unless the tail after
// the tenth reads exactly 5000...0, and then the whole expansion (never
// more than 767 significant digits) is taken.
TenDigits exactTenDigits(double magnitude) {
  std::string digits;
  int exponent = exactDigits(magnitude, 40, digits);
  bool tie = digits.size() > kSignificant && digits[kSignificant] == '5' &&
             digits.find_first_not_of('0', kSignificant + 1) == std::string::npos;
  if (tie) exponent = exactDigits(magnitude, 800, digits);
  // A tail of 5 followed by anything but zeros rounds up like a longer one.
  return roundedDigits(digits.data(), static_cast<int>(digits.size()), exponent);
}

// Ten digits from the shortest text that reads back as the value. That text
// lies closer to the value than half a unit of the tenth digit, so rounding
// it gives the exact value's rounding, except when its eleventh digit is a
// 5 with nothing after it (the value may lie on either side of that tie).
// Subnormal values have too few bits for this and take the exact way.
TenDigits fastTenDigits(double magnitude) {
  if (magnitude < std::numeric_limits<double>::min()) return exactTenDigits(magnitude);
  char digits[kMaxShortestDigits];
  int exponent = 0;
  int count = shortestDigits(magnitude, digits, exponent);
  if (count == kSignificant + 1 && digits[kSignificant] == '5') return exactTenDigits(magnitude);
  // When the text is a power of ten it may stand for a value just below it,
  // whose m is one less; that changes the form only for 10^-1 to 10^10, and
  // those the text gives exactly (10^0 to 10^10) or from above (0.1).
  return roundedDigits(digits, count, exponent);
}

char* writeThreeDigitExponent(char* out, int exponent) {
  *out++ = exponent < 0 ? '-' : '+';
  unsigned magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
  if (magnitude >= 1000) *out++ = static_cast<char>('0' + magnitude / 1000 % 10);
  *out++ = static_cast<char>('0' + magnitude / 100 % 10);
  *out++ = static_cast<char>('0' + magnitude / 10 % 10);
  *out++ = static_cast<char>('0' + magnitude % 10);
  return out;
}

std::size_t writeForm(bool negative, const TenDigits& number, char* out) {
  char* p = out;
  if (negative) *p++ = '-';
  if (number.m < -1 || number.m > 9) {
    // d.ddddddddde+XXX, trailing fraction zeros removed.
    int last = kSignificant - 1;
    while (last >= 1 && number.digits[last] == '0') --last;
    *p++ = number.digits[0];
    *p++ = '.';
    for (int i = 1; i <= last; ++i) *p++ = number.digits[i];
    *p++ = 'e';
    p = writeThreeDigitExponent(p, number.exponent);
    return static_cast<std::size_t>(p - out);
  }
  // Fixed form with 9 - m decimals; the digit worth 10^power.
  auto digitAt = [&](int power) {
    int index = number.exponent - power;
    return index < 0 || index >= kSignificant ? '0' : number.digits[index];
  };
  if (number.exponent < 0) *p++ = '0';
  for (int power = number.exponent; power >= 0; --power) *p++ = digitAt(power);
  const int decimals = 9 - number.m;
  if (decimals > 0) {
    *p++ = '.';
    int last = -decimals;
    while (last <= -1 && digitAt(last) == '0') ++last;
    for (int power = -1; power >= last; --power) *p++ = digitAt(power);
  }
  return static_cast<std::size_t>(p - out);
}

// The number of zero bits below the lowest one; bits must not be 0.
int trailingZeros(uint64_t bits) {
#if defined(__GNUC__) || defined(__clang__)
  return __builtin_ctzll(bits);
#else
  int zeros = 0;
  while ((bits & 1) == 0) {
    bits >>= 1;
    ++zeros;
  }
  return zeros;
#endif
}

}  // namespace

int32_t toInteger(std::string_view text) {
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

double toFloat(std::string_view text) {
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
  if (!readDecimal(first, last, value)) {
    value = decimalExponent(first, last) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

std::size_t writeIntegerText(int32_t value, char* out) {
  return static_cast<std::size_t>(std::to_chars(out, out + kIntegerTextCapacity, value).ptr - out);
}

std::string integerText(int32_t value) {
  char buffer[kIntegerTextCapacity];
  return std::string(buffer, writeIntegerText(value, buffer));
}

std::size_t writeFloatText(double value, char* out) {
  if (std::isnan(value)) {
    std::memcpy(out, "nan", 3);
    return 3;
  }
  const bool negative = std::signbit(value);
  if (std::isinf(value)) {
    std::memcpy(out, negative ? "-inf" : "inf", negative ? 4 : 3);
    return negative ? 4 : 3;
  }
  const double magnitude = std::fabs(value);
  TenDigits number;
  if (magnitude == 0.0) {
    std::memset(number.digits, '0', sizeof number.digits);
    number.exponent = -1;
    number.m = -1;
  } else {
    number = fastTenDigits(magnitude);
  }
  return writeForm(negative, number, out);
}

std::string floatText(double value) {
  char buffer[kFloatTextCapacity];
  return std::string(buffer, writeFloatText(value, buffer));
}

bool floatTextReadsBackExactly(double value) {
  if (value == 0.0) return true;
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  // Subnormal, infinite and not a number: not decided here.
  if (biased == 0 || biased == 0x7ff) return false;
  // value = mantissa * 2^shift with an odd mantissa.
  uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  const int zeros = trailingZeros(mantissa);
  mantissa >>= zeros;
  const int shift = biased - 1075 + zeros;
  constexpr uint64_t kTenDigits = 10000000000ULL;
  if (shift >= 0) {
    // An integer: its digits without the trailing zeros must number ten at
    // most. Beyond 2^63 it is left undecided.
    if (shift > 63 - 53) return false;
    uint64_t integer = mantissa << shift;
    while (integer % 10 == 0) integer /= 10;
    return integer < kTenDigits;
  }
  // mantissa / 2^j = mantissa * 5^j / 10^j, and mantissa * 5^j, being odd,
  // ends in no zero: it is the digit string, of ten digits at most when
  // mantissa is below 10^10 / 5^j.
  static constexpr uint64_t kLimit[15] = {10000000000ULL, 2000000000ULL, 400000000ULL, 80000000ULL,
                                          16000000ULL,    3200000ULL,    640000ULL,    128000ULL,
                                          25600ULL,       5120ULL,       1024ULL,      205ULL,
                                          41ULL,          9ULL,          2ULL};
  const int j = -shift;
  return j < 15 && mantissa < kLimit[j];
}
