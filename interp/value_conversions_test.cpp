#include "value_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
const double kInf = std::numeric_limits<double>::infinity();

TEST(ToInteger, ReadsSignAndLeadingDigitsOnly) {
  struct Case {
    const char* text;
    int32_t wanted;
  } cases[] = {
      {"42", 42},   {"  -17x", -17}, {"+5", 5},           {"3.9", 3},    {"abc", 0},
      {"\"5\"", 0}, {"", 0},         {"\t\n\v\f\r 7", 7}, {"- 5", 0},    {"--5", 0},
      {"0x10", 0},  {"007", 7},      {"-0", 0},           {"12 34", 12},
  };
  for (const Case& c : cases) EXPECT_EQ(toInteger(c.text), c.wanted) << "text: " << c.text;
}

TEST(ToInteger, SaturatesOutsideThe32BitRange) {
  struct Case {
    const char* text;
    int32_t wanted;
  } cases[] = {
      {"2147483647", kMax},  {"2147483648", kMax},  {"99999999999999999999999", kMax},
      {"-2147483648", kMin}, {"-2147483649", kMin}, {"-99999999999999999999999", kMin},
  };
  for (const Case& c : cases) EXPECT_EQ(toInteger(c.text), c.wanted) << "text: " << c.text;
}

TEST(ToFloat, TakesTheLongestDecimalPrefix) {
  struct Case {
    const char* text;
    double wanted;
  } cases[] = {
      {"2.5", 2.5},
      {" -1.5e2", -150.0},
      {"5.", 5.0},
      {".5", 0.5},
      {".", 0.0},
      {"1e", 1.0},
      {"1e+", 1.0},
      {"1e+2", 100.0},
      {"1E3", 1000.0},
      {"2.5abc", 2.5},
      {"1,5", 1.0},
      {"\"2.5\"", 0.0},
      {"+.25", 0.25},
      {"", 0.0},
      {"-", 0.0},
      {"0.1", 0.1},
      {"1.5e-1x", 0.15},
      {"e5", 0.0},
      {"123456789012345678901234567890", 1.2345678901234568e29},
      {"4.9406564584124654e-324", 4.9406564584124654e-324},
  };
  for (const Case& c : cases) EXPECT_EQ(toFloat(c.text), c.wanted) << "text: " << c.text;
}

TEST(ToFloat, RefusesWhatTheLibraryWouldAccept) {
  const char* texts[] = {"0x1A", "0x1p3", "inf", "-inf", "infinity", "nan", "NAN", "-nan(1)"};
  for (const char* text : texts) {
    double value = toFloat(text);
    EXPECT_EQ(value, 0.0) << "text: " << text;
  }
}

TEST(ToFloat, OutOfRangeBecomesInfinityOrZero) {
  std::string tinyFraction = "0." + std::string(400, '0') + "1";
  std::string hugeInteger = "1" + std::string(400, '0');
  EXPECT_EQ(toFloat("1e400"), kInf);
  EXPECT_EQ(toFloat("-1e400"), -kInf);
  EXPECT_EQ(toFloat(hugeInteger), kInf);
  EXPECT_EQ(toFloat("1e-400"), 0.0);
  EXPECT_EQ(toFloat(tinyFraction), 0.0);
  EXPECT_EQ(toFloat("0.0001e400"), kInf);
  EXPECT_EQ(toFloat("1e99999999999999999999"), kInf);
  EXPECT_EQ(toFloat("1e-99999999999999999999"), 0.0);
}

TEST(IntegerText, IsPlainDecimal) {
  EXPECT_EQ(integerText(0), "0");
  EXPECT_EQ(integerText(-42), "-42");
  EXPECT_EQ(integerText(kMax), "2147483647");
  EXPECT_EQ(integerText(kMin), "-2147483648");
}

TEST(FloatText, WritesTenSignificantDigits) {
  struct Case {
    double value;
    const char* wanted;
  } cases[] = {
      // The basic table.
      {2.5, "2.5"},
      {3.0, "3."},
      {0.0, "0."},
      {-0.25, "-0.25"},
      {1.0 / 3.0, "0.3333333333"},
      {100.0, "100."},
      {9999999999.0, "9999999999"},
      {12345678901.0, "1.23456789e+010"},
      {0.05, "5.e-002"},
      {1e10, "1.e+010"},
      // Instruction results.
      {7.0 / 2.0, "3.5"},
      {6.0 / 2.0, "3."},
      {1.5 * 2.0, "3."},
      {123.456, "123.456"},
      {0.1, "0.1"},
      {0.15, "0.15"},
      // Rounding, with carries through every digit; the form is chosen by the
      // exponent before rounding.
      {2.0 / 3.0, "0.6666666667"},
      {9.99999999996, "10."},
      {0.99999999996, "1."},
      {9999999999.6, "10000000000"},
      {0.099999999996, "1.e-001"},
      {99999999999.6, "1.e+011"},
      {1234567890.4, "1234567890"},
      // Exact halves go up, not to even.
      {1234567890.5, "1234567891"},
      {1234567891.5, "1234567892"},
      {-1234567890.5, "-1234567891"},
      // Both ends of the fixed form and of the exponent.
      {0.1234567891, "0.1234567891"},
      {0.01, "1.e-002"},
      {123456789.5, "123456789.5"},
      {-12345678901.0, "-1.23456789e+010"},
      {1e100, "1.e+100"},
      {1e-300, "1.e-300"},
      {1.7976931348623157e308, "1.797693135e+308"},
      {4.9406564584124654e-324, "4.940656458e-324"},
      {-0.0, "-0."},
  };
  for (const Case& c : cases) EXPECT_EQ(floatText(c.value), c.wanted) << "value: " << c.value;
}

TEST(FloatText, NamesValuesThatAreNotFinite) {
  EXPECT_EQ(floatText(kInf), "inf");
  EXPECT_EQ(floatText(-kInf), "-inf");
  EXPECT_EQ(floatText(std::nan("")), "nan");
}

TEST(WrappingArithmetic, WrapsIn32Bits) {
  EXPECT_EQ(wrappingAdd(kMax, 1), kMin);
  EXPECT_EQ(wrappingSub(kMin, 1), kMax);
  EXPECT_EQ(wrappingMul(65536, 65536), 0);
  EXPECT_EQ(wrappingMul(kMin, -1), kMin);
  EXPECT_EQ(wrappingDiv(kMin, -1), kMin);
  EXPECT_EQ(wrappingDiv(-7, 2), -3);
  EXPECT_EQ(wrappingDiv(7, -2), -3);
}

}  // namespace
