#pragma once
// What the person at the shell can ask: the commands, one line each, and what the member
// table says of a member or an enumeration. Also the word lists the shell completes from.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "server/member_table.h"

namespace tramox::tools {

struct CommandHelp {
  std::string_view name;
  std::string_view usage;
  std::string_view summary;
  bool shellOnly = false;  // help, quit, exit: not part of the script language
};

std::span<const CommandHelp> commandHelp();
// The names of the commands, shell-only ones included when asked.
std::vector<std::string_view> commandNames(bool withShellOnly);

// `help`: one line per command.
std::vector<std::string> helpLines();
// `help NAME`: the command, the members of that name on every interface (kind, parameters
// with their types, result type), the enumeration or the enumeration member; empty when the
// name is none of these.
std::vector<std::string> helpLines(std::string_view name);

// Every name `help NAME` knows, each once.
std::vector<std::string_view> helpTopics();
// The names of an interface's members, each once, in table order (hidden ones left out).
std::vector<std::string_view> memberNames(const server::InterfaceInfo& iface);

// "did you mean 'X'?" for the nearest candidate, or empty.
std::string didYouMean(std::string_view word, std::span<const std::string_view> candidates);

}  // namespace tramox::tools
