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

#include "reference_engine.h"
#include "value_conversions.h"

namespace {

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
