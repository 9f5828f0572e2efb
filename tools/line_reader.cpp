#include "tools/line_reader.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "client/client_environment.h"

#ifdef TRAMOX_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

namespace tramox::tools {

using client::isTerminal;

#ifdef TRAMOX_HAVE_LIBEDIT
namespace {

// The library calls plain functions: the one reader completing, and its last answer.
const LineReader::Completer* activeCompleter = nullptr;
std::vector<std::string> pendingWords;

char* nextWord(const char* /*text*/, int state) {
  static std::size_t next = 0;
  if (state == 0) {
    next = 0;
  }
  return next < pendingWords.size() ? strdup(pendingWords[next++].c_str()) : nullptr;
}

char** complete(const char* text, int /*start*/, int end) {
  rl_attempted_completion_over = 1;  // never file names
  if (!activeCompleter || !*activeCompleter) {
    return nullptr;
  }
  pendingWords =
      (*activeCompleter)(std::string_view(rl_line_buffer, static_cast<std::size_t>(end)));
  if (pendingWords.empty()) {
    return nullptr;
  }
  // "$1." waits for its member name; any other word is whole.
  bool allObjects = true;
  for (const std::string& word : pendingWords) {
    allObjects = allObjects && !word.empty() && word.back() == '.';
  }
  rl_completion_append_character = allObjects ? '\0' : ' ';
  return rl_completion_matches(text, nextWord);
}

}  // namespace
#endif

LineReader::LineReader(std::string prompt, Completer completer)
    : prompt_(std::move(prompt)),
      interactive_(isTerminal(stdin)),
      completer_(std::move(completer)) {
#ifdef TRAMOX_HAVE_LIBEDIT
  if (interactive_) {
    activeCompleter = &completer_;
    // Words are split on blanks only: "$1.Count" and "Axe:=axisPrimary" are one word each.
    rl_basic_word_break_characters = " \t";
    rl_completer_word_break_characters = const_cast<char*>(" \t");
    rl_attempted_completion_function = complete;
  }
#endif
}

LineReader::~LineReader() {
#ifdef TRAMOX_HAVE_LIBEDIT
  if (activeCompleter == &completer_) {
    activeCompleter = nullptr;
  }
#endif
}

std::optional<std::string> LineReader::next() {
#ifdef TRAMOX_HAVE_LIBEDIT
  if (interactive_) {
    char* raw = readline(prompt_.c_str());
    if (!raw) {
      return std::nullopt;
    }
    std::string line(raw);
    std::free(raw);
    if (!line.empty()) {
      add_history(line.c_str());
    }
    return line;
  }
#endif
  if (interactive_) {
    std::cout << prompt_ << std::flush;
  }
  std::string line;
  if (!std::getline(std::cin, line)) {
    return std::nullopt;
  }
  return line;
}

}  // namespace tramox::tools
