#include "platform/posix/stderr_message_windows.h"

#include <cstdio>

namespace tramox::platform {

std::string asOneLine(const std::string& text) {
  std::string line = text;
  for (char& c : line) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return line;
}

namespace {

void writeLine(const std::string& text) {
  std::string line = asOneLine(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

void StderrMessageWindows::showMessage(const std::string& text) {
  writeLine(text);
}

void StderrMessageWindows::showErrorBox(const std::string& text) {
  writeLine(text);
}

}  // namespace tramox::platform
