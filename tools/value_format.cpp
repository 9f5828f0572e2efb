#include "tools/value_format.h"

#include <cstdio>

namespace tramox::tools {

std::string formatDouble(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string quoteText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\')
      out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string formatCode(std::int32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X",
                static_cast<unsigned>(static_cast<std::uint32_t>(code)));
  return text;
}

std::string errorLine(std::int32_t code, const std::string& source, const std::string& message) {
  std::string line = "error " + formatCode(code) + " " + source + ": " + message;
  // One result line per command, whatever the message holds.
  for (char& c : line)
    if (c == '\n' || c == '\r')
      c = ' ';
  return line;
}

}  // namespace tramox::tools
