#pragma once
// The simulated controller's journal (TRAMOX_SIM_JOURNAL): one line per entry-point call, the
// name then the arguments, blank-separated; integers in decimal, doubles with 17 significant
// digits, an address as the value it points to.
#include <cstdint>
#include <string>

namespace tramox::sim {

// %.17g, whatever the process's locale.
std::string formatDouble(double value);

// An array argument: its address and highest index, written as its elements then the index.
struct OpenArray {
  const double* data;
  std::int32_t high;
};

class JournalLine {
 public:
  explicit JournalLine(const char* entryPoint) : text_(entryPoint) {}
  JournalLine& add(std::int64_t value);
  JournalLine& add(double value);
  JournalLine& add(const double* value);
  JournalLine& add(const std::uint8_t* value);
  JournalLine& add(const std::int32_t* value);
  JournalLine& add(const OpenArray& array);
  const std::string& text() const { return text_; }

 private:
  JournalLine& addWord(const std::string& word);
  std::string text_;
};

// Appends the line to the file (opened for each line, so the file may be read, moved or
// removed between calls). An empty path keeps no journal; a path that is not a regular file
// (a FIFO would block) keeps none either, and says so on standard error.
void appendToJournal(const std::string& path, const JournalLine& line);

}  // namespace tramox::sim
