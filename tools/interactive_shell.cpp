#include "tools/interactive_shell.h"

#include <algorithm>
#include <cstdio>

#include "client/value_format.h"
#include "tools/command_help.h"
#include "tools/line_reader.h"
#include "tools/shell_completion.h"

namespace tramox::tools {
namespace {

// The first word of the line; rest is what follows it.
std::string_view firstWord(std::string_view line, std::string_view& rest) {
  const auto start = line.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  line.remove_prefix(start);
  const auto end = line.find_first_of(" \t\r");
  rest = end == std::string_view::npos ? std::string_view{} : line.substr(end);
  return line.substr(0, end);
}

bool isCommand(std::string_view word, std::string_view name) {
  return server::equalsIgnoreCase(word, name);
}

void help(std::string_view rest) {
  std::string_view after;
  const std::string_view topic = firstWord(rest, after);
  if (!firstWord(after, after).empty()) {
    std::fputs("tramox: 'help' takes at most one name\n", stderr);
    return;
  }
  const std::vector<std::string> lines = topic.empty() ? helpLines() : helpLines(topic);
  if (lines.empty()) {
    const std::string hint = didYouMean(topic, helpTopics());
    std::fprintf(stderr, "tramox: no command, member or enumeration named '%s'%s%s\n",
                 echoText(topic).c_str(), hint.empty() ? "" : "; ", hint.c_str());
  }
  for (const std::string& line : lines) {
    std::printf("%s\n", line.c_str());
  }
  std::fflush(stdout);
}

}  // namespace

int runShell(ScriptSession& session) {
  LineReader reader("tramox> ", [&session](std::string_view before) {
    return completions(before, ShellState{session.liveObjects(), session.paddleControlNames()});
  });
  int number = 0;
  while (auto read = reader.next()) {
    ++number;
    const std::string_view line = number == 1 ? withoutByteOrderMark(*read) : *read;
    std::string_view rest;
    const std::string_view verb = firstWord(line, rest);
    if (isCommand(verb, "quit") || isCommand(verb, "exit")) {
      break;
    }
    if (isCommand(verb, "help")) {
      help(rest);
      continue;
    }
    const ParsedLine parsed = parseLine(line);
    if (!parsed.error.empty()) {
      const auto names = commandNames(true);
      std::string hint;
      if (!verb.empty() && verb[0] != '#' &&
          std::none_of(names.begin(), names.end(),
                       [&](std::string_view n) { return isCommand(verb, n); })) {
        hint = didYouMean(verb, names);
      }
      std::fprintf(stderr, "tramox: line %d: %s%s%s\n", number, parsed.error.c_str(),
                   hint.empty() ? "" : "; ", hint.c_str());
    } else if (parsed.command) {
      const Outcome outcome = session.execute(*parsed.command);
      printLines(outcome, stdout);
      if (!outcome.hint.empty()) {
        std::fprintf(stderr, "tramox: %s\n", outcome.hint.c_str());
      }
    }
  }
  return 0;
}

}  // namespace tramox::tools
