#include "client/message_lines.h"

namespace tramox::client {
namespace {

constexpr std::string_view kMessagePrefix = "message: ";
constexpr std::string_view kErrorBoxPrefix = "error: ";
constexpr std::string_view kErrorBoxLinePrefix = "messagebox: ";

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::vector<std::string> MessageLines::feed(std::string_view appended) {
  partial_.append(appended);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string_view line(partial_.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (startsWith(line, kMessagePrefix)) {
      lines.emplace_back(line);
    } else if (startsWith(line, kErrorBoxPrefix)) {
      lines.push_back(std::string(kErrorBoxLinePrefix) +
                      std::string(line.substr(kErrorBoxPrefix.size())));
    } else if (!lines.empty()) {
      // A message of several lines: one output line, as the console client prints it.
      lines.back() += ' ';
      lines.back() += line;
    } else {
      lines.push_back(std::string(kMessagePrefix) + std::string(line));
    }
  }
  partial_.erase(0, start);
  return lines;
}

void showMessageLine(const std::string& line, platform::IMessageWindows& sink) {
  if (startsWith(line, kErrorBoxLinePrefix)) {
    sink.showErrorBox(line.substr(kErrorBoxLinePrefix.size()));
  } else {
    sink.showMessage(line.substr(startsWith(line, kMessagePrefix) ? kMessagePrefix.size() : 0));
  }
}

}  // namespace tramox::client
