// The conversions between the texts that every value is held in and the
// numbers an instruction computes with. None depends on the locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Leading white space, an optional sign, then decimal digits up to the first
// non-digit; 0 without leading digits ("3.9" gives 3, "\"5\"" gives 0). A
// value beyond the 32-bit range saturates to INT32_MAX or INT32_MIN.
int32_t toInteger(std::string_view text);

// Leading white space, then the longest prefix of the form
//   [sign] digits [. digits] [(e|E) [sign] digits]
// (digits on either side of the point, at least one in all), correctly
// rounded; 0.0 without such a prefix. No hexadecimal, "inf" or "nan"; a
// magnitude beyond the double range gives an infinity, one below it zero.
double toFloat(std::string_view text);

// Plain decimal, "-" for negative values, no leading zeros.
std::string integerText(int32_t value);
// The same text written into out, which has room for kIntegerTextCapacity
// bytes; returns its length.
constexpr std::size_t kIntegerTextCapacity = 12;
std::size_t writeIntegerText(int32_t value, char* out);

// Ten significant digits, rounded half up on the exact value. With m the
// decimal exponent before rounding (-1 for zero): m < -1 or m > 9 gives
// d.ddddddddde+XXX, otherwise fixed with 9 - m decimals (no point when that
// is 0). Trailing fraction zeros are removed, the point stays: 3.0 gives
// "3.", 0.05 gives "5.e-002". Not finite: "inf", "-inf", "nan".
//
// The digits come from the shortest text that reads back as the value; only
// where that text cannot decide the tenth digit (an eleventh digit of 5, or
// a subnormal value) is the exact decimal expansion written out.
std::string floatText(double value);
// The same text written into out, which has room for kFloatTextCapacity
// bytes; returns its length.
constexpr std::size_t kFloatTextCapacity = 32;
std::size_t writeFloatText(double value, char* out);

// True when toFloat(floatText(value)) is value itself: a finite value whose
// exact decimal expansion has at most ten significant digits (0.5, 12.25,
// 1e20). Cheaper than writing the text; false where it cannot tell at once.
bool floatTextReadsBackExactly(double value);

// Integer arithmetic of the instructions: 32-bit two's complement, wrapping,
// computed without signed overflow. Division truncates toward zero;
// INT32_MIN / -1 gives INT32_MIN. The divisor must not be 0.
inline int32_t wrappingAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrappingSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t wrappingMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t wrappingDiv(int32_t a, int32_t b) { return b == -1 ? wrappingSub(0, a) : a / b; }
