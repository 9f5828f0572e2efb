#pragma once
// Tab completion in the shell: the words that may follow what is typed so far.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/script_session.h"

namespace tramox::tools {

struct ShellState {
  std::vector<LiveObject> objects;    // $0 and the live $N
  std::vector<std::string> controls;  // the paddle's, when it is shown
};

// The whole words that complete the last word of lineBeforeCursor (empty after a blank):
// commands first, then by command: member names (of $0, or of $N after "$N."), $N handles,
// values (enumeration members, true, false, empty, handles; also after "Name:="), help
// topics, paddle controls. Compared without case, as names are matched.
std::vector<std::string> completions(std::string_view lineBeforeCursor, const ShellState& state);

}  // namespace tramox::tools
