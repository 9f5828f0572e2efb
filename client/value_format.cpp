#include "client/value_format.h"

#include <cstdio>

namespace tramox::client {

std::string formatDouble(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string quoteText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      // A control character would break the one-line-per-result rule or the terminal.
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
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

}  // namespace tramox::client
