#pragma once
// Ctrl+C (SIGINT) and SIGTERM as a request to stop, for a run that must clean up after
// itself (the demo's temporary home) rather than die where it stands.
namespace tramox::tools {

// From now on the first SIGINT or SIGTERM only sets the flag; a second one ends the process
// as usual. A signal the process was started ignoring (a background job's SIGINT) stays
// ignored.
void catchInterruptions();
bool interrupted();
// Once cleaned up: ends the process by the signal that interrupted it, so that the caller
// (a shell, a script) sees an interruption and not a normal end. Returns when none came.
void endByInterruption();

}  // namespace tramox::tools
