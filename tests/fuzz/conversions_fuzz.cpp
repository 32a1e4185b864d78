// Fuzz target: the value conversions against versions written straight from
// their rules: toInteger by hand with saturation, toFloat through the C
// library on the prefix the rules allow, floatText through the exact
// decimal expansion. The input is a text to convert; its first eight bytes
// are also taken as the bits of a double for floatText.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "reference_engine.h"
#include "value_conversions.h"

namespace {

void require(bool holds) {
  if (!holds) std::abort();
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int32_t integerByRule(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  int64_t magnitude = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) {
    magnitude = std::min<int64_t>(magnitude * 10 + (text[at] - '0'), int64_t{1} << 40);
  }
  int64_t value = negative ? -magnitude : magnitude;
  value = std::max<int64_t>(value, std::numeric_limits<int32_t>::min());
  value = std::min<int64_t>(value, std::numeric_limits<int32_t>::max());
  return static_cast<int32_t>(value);
}

// The longest prefix [sign] digits [. digits] [(e|E) [sign] digits], with at
// least one digit before the exponent, read by strtod in the C locale.
double floatByRule(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  const std::size_t start = at;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  std::size_t digits = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) ++digits;
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && isDigit(text[at]); ++at) ++digits;
  }
  if (digits == 0) return 0.0;
  std::size_t end = at;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (exponent < text.size() && isDigit(text[exponent])) {
      while (exponent < text.size() && isDigit(text[exponent])) ++exponent;
      end = exponent;
    }
  }
  const std::string prefix = text.substr(start, end - start);
  return std::strtod(prefix.c_str(), nullptr);
}

bool sameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  require(toInteger(text) == integerByRule(text));
  const double parsed = toFloat(text);
  require(sameDouble(parsed, floatByRule(text)));
  require(floatText(parsed) == exactFloatText(parsed));

  double bits = 0.0;
  std::memcpy(&bits, data, std::min(size, sizeof bits));
  require(floatText(bits) == exactFloatText(bits));
  const int32_t whole = toInteger(text);
  require(toInteger(integerText(whole)) == whole);
  return 0;
}
