#pragma once
// `tramox shell`: the script language typed line by line, with help, completion and
// "did you mean" for the person at it (on standard error, so results stay as in scripts).
#include "tools/script_session.h"

namespace tramox::tools {

// Returns the exit status: 0 at the end of input or after quit.
int runShell(ScriptSession& session);

}  // namespace tramox::tools
