#include "simulator/journal.h"

#include <charconv>
#include <cstdio>

#include "simulator/state_file_io.h"

namespace tramox::sim {
namespace {

constexpr const char* kNullAddress = "null";
// The contract's arrays have four elements; a larger highest index is not trusted.
constexpr std::int32_t kMaxArrayHigh = 3;

}  // namespace

std::string formatDouble(double value) {
  char buffer[32];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
  return error == std::errc() ? std::string(buffer, end) : std::string("?");
}

JournalLine& JournalLine::addWord(const std::string& word) {
  text_ += ' ';
  text_ += word;
  return *this;
}

JournalLine& JournalLine::add(std::int64_t value) {
  return addWord(std::to_string(value));
}

JournalLine& JournalLine::add(double value) {
  return addWord(formatDouble(value));
}

JournalLine& JournalLine::add(const double* value) {
  return value == nullptr ? addWord(kNullAddress) : add(*value);
}

JournalLine& JournalLine::add(const std::uint8_t* value) {
  return value == nullptr ? addWord(kNullAddress) : add(std::int64_t{*value});
}

JournalLine& JournalLine::add(const std::int32_t* value) {
  return value == nullptr ? addWord(kNullAddress) : add(std::int64_t{*value});
}

JournalLine& JournalLine::add(const OpenArray& array) {
  if (array.data == nullptr) {
    addWord(kNullAddress);
  } else {
    for (std::int32_t i = 0; i <= array.high && i <= kMaxArrayHigh; ++i) {
      add(array.data[i]);
    }
  }
  return add(std::int64_t{array.high});
}

void appendToJournal(const std::string& path, const JournalLine& line) {
  if (path.empty()) {
    return;
  }
  std::string why;
  static std::string reported;  // said once, not at every call
  if (!appendToRegularFile(path, line.text() + "\n", why) && why != reported) {
    std::fprintf(stderr, "Tramox_Telescope simulator: TRAMOX_SIM_JOURNAL: %s\n", why.c_str());
    reported = why;
  }
}

}  // namespace tramox::sim
