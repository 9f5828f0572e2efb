#pragma once
// Class, interface, library and enumeration identities, written as constexpr text so that the
// member tables read like the type library they describe.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tramox::server {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  bool operator==(const Guid&) const = default;
};

namespace guid_detail {
constexpr std::uint32_t hexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return static_cast<std::uint32_t>(c - '0');
  }
  if (c >= 'A' && c <= 'F') {
    return static_cast<std::uint32_t>(c - 'A' + 10);
  }
  if (c >= 'a' && c <= 'f') {
    return static_cast<std::uint32_t>(c - 'a' + 10);
  }
  throw "not a hexadecimal digit";  // only reachable in a constant expression: a compile error
}
constexpr std::uint32_t hexField(std::string_view text, std::size_t from, std::size_t digits) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    v = v * 16 + hexDigit(text[from + i]);
  }
  return v;
}
}  // namespace guid_detail

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", without braces.
consteval Guid makeGuid(std::string_view text) {
  if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' ||
      text[23] != '-') {
    throw "malformed GUID";
  }
  using guid_detail::hexField;
  Guid g;
  g.data1 = hexField(text, 0, 8);
  g.data2 = static_cast<std::uint16_t>(hexField(text, 9, 4));
  g.data3 = static_cast<std::uint16_t>(hexField(text, 14, 4));
  g.data4[0] = static_cast<std::uint8_t>(hexField(text, 19, 2));
  g.data4[1] = static_cast<std::uint8_t>(hexField(text, 21, 2));
  for (std::size_t i = 0; i < 6; ++i) {
    g.data4[2 + i] = static_cast<std::uint8_t>(hexField(text, 24 + 2 * i, 2));
  }
  return g;
}

// The registry form: upper-case hexadecimal groups in braces.
std::string toRegistryString(const Guid& guid);
// Accepts the registry form, with or without braces, in either case; false when malformed.
bool parseGuid(std::string_view text, Guid& out);

}  // namespace tramox::server
