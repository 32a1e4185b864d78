// floatText against the exact method it replaces: the value printed to 40
// digits by the C library (800 where the digits after the tenth read
// exactly 5000...), then rounded half up by hand. Run on random bit
// patterns, exact ties at the tenth digit and their neighbours, carries
// through runs of nines, powers of ten and decimals of eleven digits.
//
// The case count is bounded for CI. To run longer by hand:
//   KIV_FLOAT_TEXT_COUNT=50000000 KIV_FLOAT_TEXT_SEED=7 build/tests/float_text_test
// (count per family of cases; the seed is printed on failure).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "value_conversions.h"

namespace {

// The exact method, as the interpreter wrote it before the shortest digits
// were used.
struct ExactDigits {
  std::string digits;
  int exponent = 0;
};

ExactDigits printedDigits(double magnitude, int precision) {
  std::string buffer(static_cast<std::size_t>(precision) + 32, '\0');
  int length = std::snprintf(&buffer[0], buffer.size(), "%.*e", precision, magnitude);
  buffer.resize(static_cast<std::size_t>(length));
  ExactDigits result;
  std::size_t at = 0;
  for (; at < buffer.size() && buffer[at] != 'e'; ++at) {
    if (buffer[at] >= '0' && buffer[at] <= '9') result.digits += buffer[at];
  }
  result.exponent = std::atoi(buffer.c_str() + at + 1);
  return result;
}

std::string exactFloatText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  std::string sign = std::signbit(value) ? "-" : "";
  double magnitude = std::fabs(value);
  ExactDigits number;
  if (magnitude == 0.0) {
    number.digits = std::string(10, '0');
    number.exponent = -1;
  } else {
    number = printedDigits(magnitude, 40);
    if (number.digits[10] == '5' && number.digits.find_first_not_of('0', 11) == std::string::npos) {
      number = printedDigits(magnitude, 800);
    }
  }
  const int m = number.exponent;
  bool up = number.digits.size() > 10 && number.digits[10] >= '5';
  number.digits.resize(10, '0');
  if (up) {
    std::size_t i = 10;
    while (i-- > 0 && number.digits[i] == '9') number.digits[i] = '0';
    if (i < 10) {
      ++number.digits[i];
    } else {
      number.digits = "1" + number.digits.substr(0, 9);
      ++number.exponent;
    }
  }
  auto trimmed = [](std::string fraction) {
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return fraction;
  };
  if (m < -1 || m > 9) {
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%03d", number.exponent < 0 ? '-' : '+',
                  std::abs(number.exponent));
    return sign + number.digits.substr(0, 1) + "." + trimmed(number.digits.substr(1)) + exponent;
  }
  auto digitAt = [&](int power) {
    int index = number.exponent - power;
    return index < 0 || index >= 10 ? '0' : number.digits[static_cast<std::size_t>(index)];
  };
  std::string integerPart;
  for (int power = number.exponent; power >= 0; --power) integerPart += digitAt(power);
  if (integerPart.empty()) integerPart = "0";
  if (9 - m <= 0) return sign + integerPart;
  std::string fraction;
  for (int power = -1; power >= -(9 - m); --power) fraction += digitAt(power);
  return sign + integerPart + "." + trimmed(fraction);
}

long long settingOr(const char* name, long long fallback) {
  const char* text = std::getenv(name);
  return text == nullptr ? fallback : std::atoll(text);
}

class FloatTextAgainstExact : public ::testing::Test {
 protected:
  // Compares one value; stops the family after a few failures.
  void check(double value) {
    if (failures_ >= 5) return;
    std::string got = floatText(value);
    std::string wanted = exactFloatText(value);
    if (got != wanted) {
      ++failures_;
      ADD_FAILURE() << "value " << std::hexfloat << value << std::defaultfloat << " (" << wanted
                    << ") gave " << got << ", seed " << seed_;
    }
    if (floatTextReadsBackExactly(value)) {
      if (toFloat(wanted) != value && failures_ < 5) {
        ++failures_;
        ADD_FAILURE() << "value " << std::hexfloat << value << " does not read back from " << wanted
                      << ", seed " << seed_;
      }
    }
  }
  void checkAround(double value) {
    check(value);
    check(-value);
    check(std::nextafter(value, 0.0));
    check(std::nextafter(value, std::numeric_limits<double>::infinity()));
  }
  double randomBits() {
    uint64_t bits = random_();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  uint64_t randomDigits(int count) {
    uint64_t low = 1;
    for (int i = 1; i < count; ++i) low *= 10;
    return std::uniform_int_distribution<uint64_t>(low, low * 10 - 1)(random_);
  }
  double parsed(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  }

  long long count_ = settingOr("KIV_FLOAT_TEXT_COUNT", 300000);
  unsigned long long seed_ =
      static_cast<unsigned long long>(settingOr("KIV_FLOAT_TEXT_SEED", 20240611));
  std::mt19937_64 random_{seed_};
  int failures_ = 0;
};

TEST_F(FloatTextAgainstExact, RandomBitPatterns) {
  for (long long i = 0; i < count_; ++i) check(randomBits());
}

TEST_F(FloatTextAgainstExact, ValuesOfEveryDayMagnitude) {
  std::uniform_real_distribution<double> power(-4.0, 12.0);
  for (long long i = 0; i < count_; ++i) check(std::pow(10.0, power(random_)));
  // Sums and quotients as float instructions make them.
  for (long long i = 0; i < count_ / 4; ++i) {
    double a = static_cast<double>(randomDigits(3)) / 7.0;
    check(a + 0.1 * static_cast<double>(i % 97));
  }
}

TEST_F(FloatTextAgainstExact, ExactTiesAtTheTenthDigitAndTheirNeighbours) {
  // An eleven-digit integer ending in 5, scaled by 10^-j with 5^j dividing
  // it, is a double that lies exactly on a tie; so is such an integer times
  // a power of ten that keeps it exact.
  std::uniform_int_distribution<int> scale(0, 8);
  for (long long i = 0; i < count_ / 50; ++i) {
    int j = scale(random_);
    uint64_t unit = 1;
    for (int k = 0; k < j; ++k) unit *= 5;
    uint64_t tie = randomDigits(11);
    tie = tie - tie % (unit * 2) + unit;  // an odd multiple of 5^j
    if (j == 0) tie = tie - tie % 10 + 5;
    if (tie < 10000000000ULL) continue;
    double value = static_cast<double>(tie);
    for (int k = 0; k < j; ++k) value /= 10.0;
    checkAround(value);
    checkAround(static_cast<double>(tie) * 1000.0);
  }
}

TEST_F(FloatTextAgainstExact, CarriesThroughNines) {
  for (int power = -320; power <= 300; ++power) {
    for (int nines = 9; nines <= 13; ++nines) {
      std::string text =
          "9." + std::string(static_cast<std::size_t>(nines), '9') + "5e" + std::to_string(power);
      checkAround(parsed(text));
      checkAround(parsed("9.999999999e" + std::to_string(power)));
    }
  }
}

TEST_F(FloatTextAgainstExact, PowersOfTenAndHalves) {
  for (int power = -330; power <= 310; ++power) {
    checkAround(parsed("1e" + std::to_string(power)));
    checkAround(parsed("5e" + std::to_string(power)));
    checkAround(std::pow(10.0, power));
  }
  checkAround(std::numeric_limits<double>::min());
  checkAround(std::numeric_limits<double>::max());
  checkAround(std::numeric_limits<double>::denorm_min());
}

TEST_F(FloatTextAgainstExact, DecimalsOfTenToTwelveDigits) {
  std::uniform_int_distribution<int> exponent(-30, 30);
  std::uniform_int_distribution<int> length(10, 12);
  for (long long i = 0; i < count_; ++i) {
    std::string text =
        std::to_string(randomDigits(length(random_))) + "e" + std::to_string(exponent(random_));
    check(parsed(text));
  }
}

}  // namespace
