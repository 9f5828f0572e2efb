#pragma once
// The mount state kept between runs: $TRAMOX_HOME/simulator-state, one key=value per line.
#include <filesystem>
#include <optional>

#include "simulator/mount.h"

namespace tramox::sim {

// $TRAMOX_HOME/simulator-state; without TRAMOX_HOME, the folder the driver's own stores use
// (${XDG_CONFIG_HOME:-$HOME/.config}/tramox, or %APPDATA%\tramox on Windows). Empty when no
// such folder can be named.
std::filesystem::path mountStatePath();

// Nothing when the file is absent or does not hold a complete state.
std::optional<MountState> loadMountState(const std::filesystem::path& path);

// Writes a temporary file beside the state and renames it over, so a reader never sees half a
// state. False when the folder cannot be made or written.
bool saveMountState(const std::filesystem::path& path, const MountState& state);

}  // namespace tramox::sim
