#pragma once
// The log file is text in the system's ANSI code page on Windows; the rest of the code speaks
// UTF-8. POSIX keeps UTF-8.
#include <string>

namespace tramox::diag {

// Text that is not valid UTF-8, or has no ANSI form, is returned unchanged.
std::string toLogFileEncoding(const std::string& utf8);

}  // namespace tramox::diag
