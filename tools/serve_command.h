#pragma once
// tramox serve: the driver as an ASCOM Alpaca device on the network.
#include <string>
#include <vector>

namespace tramox::tools {

// args: what follows "serve". Returns the exit status: 0 after a stop request, 1 when the
// server cannot start.
int runServe(const std::vector<std::string>& args);

}  // namespace tramox::tools
