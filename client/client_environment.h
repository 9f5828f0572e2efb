#pragma once
// The few things the client asks of the operating system itself, on POSIX and Windows alike.
#include <cstdio>
#include <string>

namespace tramox::client {

// Sets the variable for this process and the modules it loads; keeps an existing value
// unless overwrite.
void setEnvironment(const std::string& name, const std::string& value, bool overwrite = true);
bool hasEnvironment(const std::string& name);
// A new empty folder under the system's temporary folder; empty when none could be made.
std::string makeTemporaryFolder(const std::string& prefix);
bool isTerminal(std::FILE* stream);

}  // namespace tramox::client
