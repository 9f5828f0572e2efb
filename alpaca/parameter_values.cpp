#include "alpaca/parameter_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "alpaca/utf8_text.h"
#include "common/whole_number.h"
#include "platform/automation_date.h"
#include "server/decimal_text.h"
#include "server/member_table.h"

namespace tramox::alpaca {

namespace {

std::optional<std::string> decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%') {
      std::uint8_t byte = 0;
      const char* digits = text.data() + i + 1;
      if (i + 2 >= text.size() || std::from_chars(digits, digits + 2, byte, 16).ptr != digits + 2) {
        return std::nullopt;
      }
      out += static_cast<char>(byte);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Digits only, exactly count of them.
bool fixedNumber(std::string_view text, std::size_t at, std::size_t count, int& value) {
  if (at + count > text.size()) {
    return false;
  }
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return false;
    }
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::optional<std::vector<Parameter>> parseForm(std::string_view encoded) {
  std::vector<Parameter> list;
  while (!encoded.empty()) {
    const auto amp = encoded.find('&');
    const std::string_view pair = encoded.substr(0, amp);
    encoded = amp == std::string_view::npos ? std::string_view() : encoded.substr(amp + 1);
    if (pair.empty()) {
      continue;
    }
    const auto equals = pair.find('=');
    auto name = decode(pair.substr(0, equals));
    auto value =
        decode(equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1));
    if (!name || !value || !isUtf8(*name) || !isUtf8(*value)) {
      return std::nullopt;
    }
    list.push_back({std::move(*name), std::move(*value)});
  }
  return list;
}

const std::string* Parameters::find(std::string_view name) const {
  for (const Parameter& p : list_) {
    if (exactCase_ ? p.name == name : server::equalsIgnoreCase(p.name, name)) {
      return &p.value;
    }
  }
  return nullptr;
}

bool Parameters::misCased(std::string_view name) const {
  if (!exactCase_ || find(name)) {
    return false;
  }
  for (const Parameter& p : list_) {
    if (server::equalsIgnoreCase(p.name, name)) {
      return true;
    }
  }
  return false;
}

std::optional<double> parseDouble(std::string_view text) {
  double value = 0.0;
  if (!server::parseDecimal(text, value)) {
    return std::nullopt;
  }
  return value;
}

const std::string* lastValue(const std::vector<Parameter>& form, std::string_view name) {
  const std::string* found = nullptr;
  for (const Parameter& parameter : form) {
    if (parameter.name == name) {
      found = &parameter.value;
    }
  }
  return found;
}

std::optional<std::int32_t> parseInt32(std::string_view text) {
  text = server::trimBlanks(text);
  if (text.starts_with('+') && !text.starts_with("+-")) {
    text.remove_prefix(1);
  }
  return parseWholeNumber<std::int32_t>(text);
}

std::optional<bool> parseBool(std::string_view text) {
  text = server::trimBlanks(text);
  if (server::equalsIgnoreCase(text, "true")) {
    return true;
  }
  if (server::equalsIgnoreCase(text, "false")) {
    return false;
  }
  return std::nullopt;
}

std::optional<double> parseIsoDate(std::string_view text) {
  text = server::trimBlanks(text);
  platform::CivilDateTime t;
  if (!fixedNumber(text, 0, 4, t.year) || text.size() < 19 || text[4] != '-' ||
      !fixedNumber(text, 5, 2, t.month) || text[7] != '-' || !fixedNumber(text, 8, 2, t.day) ||
      (text[10] != 'T' && text[10] != 't' && text[10] != ' ') ||
      !fixedNumber(text, 11, 2, t.hour) || text[13] != ':' || !fixedNumber(text, 14, 2, t.minute) ||
      text[16] != ':' || !fixedNumber(text, 17, 2, t.second)) {
    return std::nullopt;
  }
  std::size_t at = 19;
  double fraction = 0.0;
  if (at < text.size() && text[at] == '.') {
    double scale = 0.1;
    const std::size_t first = ++at;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10) {
      fraction += (text[at] - '0') * scale;
    }
    if (at == first) {
      return std::nullopt;
    }
  }
  int offsetMinutes = 0;
  if (at < text.size() && (text[at] == 'Z' || text[at] == 'z')) {
    ++at;
  } else if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    int hours = 0, minutes = 0;
    if (!fixedNumber(text, at + 1, 2, hours) || text.size() < at + 6 || text[at + 3] != ':' ||
        !fixedNumber(text, at + 4, 2, minutes) || hours > 23 || minutes > 59) {
      return std::nullopt;
    }
    offsetMinutes = (text[at] == '-' ? -1 : 1) * (hours * 60 + minutes);
    at += 6;
  }
  if (at != text.size()) {
    return std::nullopt;
  }
  constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.year < 1900 || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > kDaysInMonth[t.month - 1] || t.hour > 23 || t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  if (t.month == 2 && t.day == 29 && !leap) {
    return std::nullopt;
  }
  constexpr double kSecondsPerDay = 86400.0;
  return platform::toAutomationDate(t) +
         (fraction * 1000.0 - offsetMinutes * 60000.0) / (kSecondsPerDay * 1000.0);
}

bool fitsAutomationDate(double date) {
  static const double kEnd = platform::toAutomationDate({9999, 12, 31}) + 1.0;
  return date < kEnd;
}

std::uint32_t parseIdentifier(const std::string* text) {
  if (!text) {
    return 0;
  }
  return parseWholeNumber<std::uint32_t>(server::trimBlanks(*text)).value_or(0);
}

std::string formatIsoDate(double automationDate) {
  const platform::CivilDateTime t = platform::fromAutomationDate(automationDate);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d0000Z", t.year, t.month,
                t.day, t.hour, t.minute, t.second, t.millisecond);
  return text;
}

}  // namespace tramox::alpaca
