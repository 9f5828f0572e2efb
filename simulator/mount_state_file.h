#pragma once
// The mount state kept between runs: $TRAMOX_HOME/simulator-state, one key=value per line.
#include <filesystem>
#include <optional>

#include "simulator/mount.h"

namespace tramox::sim {

// simulator-state in the folder of the driver's own stores (common/tramox_home.h). Empty when
// no such folder can be named.
std::filesystem::path mountStatePath();

// Nothing when the file is absent or does not hold a complete, valid state. A damaged file is
// reported on standard error and renamed "simulator-state.damaged-<pid>-<ns>" beside it, so
// that the next save cannot overwrite it.
std::optional<MountState> loadMountState(const std::filesystem::path& path);

// Under "<path>.lock", writes a temporary of a unique name beside the state and renames it
// over, so a reader never sees half a state and concurrent savers never share a temporary.
// False, reported on standard error, when that is impossible.
bool saveMountState(const std::filesystem::path& path, const MountState& state);

}  // namespace tramox::sim
