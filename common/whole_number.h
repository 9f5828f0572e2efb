#pragma once
// A whole number written as the text's only content: no blanks, sign only where the type has
// one ('-'), nothing after the digits, nothing out of the type's range.
#include <charconv>
#include <optional>
#include <string_view>

namespace tramox {

template <typename Integer>
std::optional<Integer> parseWholeNumber(std::string_view text) {
  Integer value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace tramox
