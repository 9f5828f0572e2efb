#pragma once
// Lines for the interactive shell: with history, line editing and tab completion (libedit)
// when standard input is a terminal and the library was there at build time, plain lines
// otherwise.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramox::tools {

class LineReader {
 public:
  // The whole words that may replace the last word of the line typed so far.
  using Completer = std::function<std::vector<std::string>(std::string_view lineBeforeCursor)>;

  explicit LineReader(std::string prompt, Completer completer = {});
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // nullopt at the end of input.
  std::optional<std::string> next();

 private:
  std::string prompt_;
  bool interactive_;
  Completer completer_;
};

}  // namespace tramox::tools
