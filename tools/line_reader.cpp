#include "tools/line_reader.h"

#include <cstdlib>
#include <iostream>

#include "client/client_environment.h"

#ifdef TRAMOX_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

namespace tramox::tools {

using client::isTerminal;

LineReader::LineReader(std::string prompt)
    : prompt_(std::move(prompt)), interactive_(isTerminal(stdin)) {}

LineReader::~LineReader() = default;

std::optional<std::string> LineReader::next() {
#ifdef TRAMOX_HAVE_LIBEDIT
  if (interactive_) {
    char* raw = readline(prompt_.c_str());
    if (!raw)
      return std::nullopt;
    std::string line(raw);
    std::free(raw);
    if (!line.empty())
      add_history(line.c_str());
    return line;
  }
#endif
  if (interactive_) {
    std::cout << prompt_ << std::flush;
  }
  std::string line;
  if (!std::getline(std::cin, line))
    return std::nullopt;
  return line;
}

}  // namespace tramox::tools
