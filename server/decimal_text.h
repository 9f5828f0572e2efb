#pragma once
// Numbers written as text, read the way the automation layer reads them in the type
// library's English (United States) locale. Shared by the portable runtime and the clients of
// both platforms.
#include <string_view>

namespace tramox::server {

// Blanks and tabs around a text removed.
std::string_view trimBlanks(std::string_view text);

// A whole decimal number in the invariant form: optional blanks, sign, digits, point,
// digits, exponent. False for anything else (no hexadecimal, "inf" or "nan").
bool parseDecimal(std::string_view text, double& value);

}  // namespace tramox::server
