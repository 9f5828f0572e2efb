#pragma once
// The user asking a long-running command to end: Ctrl+C and SIGTERM on POSIX; Ctrl+C,
// Ctrl+Break and closing the console window on Windows.
namespace tramox::platform {

// Call before the process starts any thread, so that no other thread takes the request.
void prepareStopRequest();
// Returns when a request arrives.
void waitForStopRequest();
// The command has cleaned up. On Windows a closing console ends the process as soon as the
// request is answered, so the answer waits for this (a few seconds at most).
void stopRequestHandled();

}  // namespace tramox::platform
