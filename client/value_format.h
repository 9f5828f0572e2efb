#pragma once
// How the tramox client writes values and errors on its result lines.
#include <cstdint>
#include <string>

namespace tramox::client {

// %.17g: every double reads back to the same bits.
std::string formatDouble(double value);
// In double quotes, with backslash escapes for '"' and '\'.
std::string quoteText(const std::string& text);
// "0x" and eight upper-case hexadecimal digits.
std::string formatCode(std::int32_t code);
// error 0xXXXXXXXX SOURCE: MESSAGE
std::string errorLine(std::int32_t code, const std::string& source, const std::string& message);

}  // namespace tramox::client
