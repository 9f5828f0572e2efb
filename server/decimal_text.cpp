#include "server/decimal_text.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <system_error>

namespace tramox::server {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

bool parseDecimal(std::string_view text, double& value) {
  text = trimBlanks(text);
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    ++i;
  }
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) {
    ++i, ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      ++i, ++digits;
    }
  }
  if (digits == 0) {
    return false;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      ++i;
    }
    std::size_t expDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
      ++i, ++expDigits;
    }
    if (expDigits == 0) {
      return false;
    }
  }
  if (i != text.size()) {
    return false;
  }
  std::string_view number = text;
  if (number.front() == '+') {
    number.remove_prefix(1);
  }
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // strtod gives infinity for too large (an overflow to the caller) and 0 for too small.
    const std::string copy(number);
    value = std::strtod(copy.c_str(), nullptr);
    return true;
  }
  return ec == std::errc() && end == number.data() + number.size();
}

}  // namespace tramox::server
