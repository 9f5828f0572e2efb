// Numbers in log lines look as the Delphi runtime's general float format writes them: at most
// 15 significant digits, no trailing zeros, plain decimals for exponents from -5 to 14 and
// "1.5E-20" otherwise (no plus sign, no leading zeros in the exponent).
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "diag/diagnostic_log.h"

namespace tramox::diag {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kSmallestPlainExponent = -5;

// The value's digits rounded to 15 significant digits, trailing zeros dropped, and the
// decimal exponent of the first digit. Independent of the C locale.
void decimalDigits(double magnitude, std::string& digits, int& exponent) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                              std::chars_format::scientific, kSignificantDigits - 1);
  std::string text(buffer, result.ptr);  // "d.ddddddddddddddde[+-]xx"
  auto e = text.find('e');
  digits = text.substr(0, 1) + text.substr(2, e - 2);
  exponent = std::stoi(text.substr(e + 1));
  auto last = digits.find_last_not_of('0');
  digits.erase(last == std::string::npos ? 1 : last + 1);
}

}  // namespace

std::string formatNumber(double value, const std::string& decimalSeparator) {
  if (std::isnan(value)) {
    return "NAN";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-INF" : "INF";
  }
  if (value == 0.0) {
    return "0";
  }
  std::string digits;
  int exponent = 0;
  decimalDigits(std::fabs(value), digits, exponent);

  std::string text = value < 0 ? "-" : "";
  if (exponent < kSmallestPlainExponent || exponent >= kSignificantDigits) {
    text += digits[0];
    if (digits.size() > 1) {
      text += decimalSeparator + digits.substr(1);
    }
    text += "E" + std::to_string(exponent);
  } else if (exponent < 0) {
    text +=
        "0" + decimalSeparator + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      text += digits + std::string(integerDigits - digits.size(), '0');
    } else {
      text += digits.substr(0, integerDigits) + decimalSeparator + digits.substr(integerDigits);
    }
  }
  return text;
}

}  // namespace tramox::diag
