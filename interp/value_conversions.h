// The conversions between the texts that every value is held in and the
// numbers an instruction computes with. None depends on the locale.
#pragma once

#include <cstdint>
#include <string>

// Leading white space, an optional sign, then decimal digits up to the first
// non-digit; 0 without leading digits ("3.9" gives 3, "\"5\"" gives 0). A
// value beyond the 32-bit range saturates to INT32_MAX or INT32_MIN.
int32_t toInteger(const std::string& text);

// Leading white space, then the longest prefix of the form
//   [sign] digits [. digits] [(e|E) [sign] digits]
// (digits on either side of the point, at least one in all), correctly
// rounded; 0.0 without such a prefix. No hexadecimal, "inf" or "nan"; a
// magnitude beyond the double range gives an infinity, one below it zero.
double toFloat(const std::string& text);

// Plain decimal, "-" for negative values, no leading zeros.
std::string integerText(int32_t value);

// Ten significant digits, rounded half up on the exact value. With m the
// decimal exponent before rounding (-1 for zero): m < -1 or m > 9 gives
// d.ddddddddde+XXX, otherwise fixed with 9 - m decimals (no point when that
// is 0). Trailing fraction zeros are removed, the point stays: 3.0 gives
// "3.", 0.05 gives "5.e-002". Not finite: "inf", "-inf", "nan".
std::string floatText(double value);

// Integer arithmetic of the instructions: 32-bit two's complement, wrapping,
// computed without signed overflow. Division truncates toward zero;
// INT32_MIN / -1 gives INT32_MIN. The divisor must not be 0.
int32_t wrappingAdd(int32_t a, int32_t b);
int32_t wrappingSub(int32_t a, int32_t b);
int32_t wrappingMul(int32_t a, int32_t b);
int32_t wrappingDiv(int32_t a, int32_t b);
