#pragma once
// How the tramox client writes values and errors on its result lines.
#include <cstdint>
#include <string>
#include <string_view>

namespace tramox::client {

// %.17g: every double reads back to the same bits.
std::string formatDouble(double value);
// In double quotes, with backslash escapes for '"' and '\'.
std::string quoteText(const std::string& text);
// "0x" and eight upper-case hexadecimal digits.
std::string formatCode(std::int32_t code);
// error 0xXXXXXXXX SOURCE: MESSAGE, on one line, control characters escaped as \xNN.
std::string errorLine(std::int32_t code, const std::string& source, const std::string& message);

// The most characters of a user's word that an error message repeats.
inline constexpr std::size_t kEchoLimit = 200;
// A word of the user's as an error message repeats it: control characters escaped as \xNN,
// cut after kEchoLimit characters (marked with "...").
std::string echoText(std::string_view text);

}  // namespace tramox::client
