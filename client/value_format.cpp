#include "client/value_format.h"

#include <algorithm>
#include <cstdio>

namespace tramox::client {

namespace {

// A control character would break the one-line-per-result rule or reach the terminal raw
// (an ESC starts a terminal command; a NUL ends the text for C output functions).
bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

void appendEscapedControl(std::string& out, char c) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
  out += escaped;
}

}  // namespace

std::string formatDouble(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string quoteText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (isControl(c)) {
      appendEscapedControl(out, c);
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
  // One result line per command, whatever the message holds; line breaks read as blanks.
  std::string line = "error " + formatCode(code) + " ";
  for (char c : source + ": " + message) {
    if (c == '\n' || c == '\r') {
      line += ' ';
    } else if (isControl(c)) {
      appendEscapedControl(line, c);
    } else {
      line += c;
    }
  }
  return line;
}

std::string echoText(std::string_view text) {
  std::size_t keep = std::min(text.size(), kEchoLimit);
  // Never half a UTF-8 sequence: back off over continuation bytes.
  while (keep < text.size() && keep > 0 &&
         (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80) {
    --keep;
  }
  std::string out;
  for (char c : text.substr(0, keep)) {
    if (isControl(c)) {
      appendEscapedControl(out, c);
    } else {
      out += c;
    }
  }
  if (keep < text.size()) {
    out += "...";
  }
  return out;
}

}  // namespace tramox::client
