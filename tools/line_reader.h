#pragma once
// Lines for the interactive shell: with history and line editing (libedit) when standard
// input is a terminal and the library was there at build time, plain lines otherwise.
#include <optional>
#include <string>

namespace tramox::tools {

class LineReader {
 public:
  explicit LineReader(std::string prompt);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // nullopt at the end of input.
  std::optional<std::string> next();

 private:
  std::string prompt_;
  bool interactive_;
};

}  // namespace tramox::tools
