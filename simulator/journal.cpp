#include "simulator/journal.h"

#include <charconv>
#include <fstream>

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
  std::ofstream out(path, std::ios::app);
  out << line.text() << '\n';
}

}  // namespace tramox::sim
