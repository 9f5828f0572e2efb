#pragma once
// What the server asks of the system for itself: as many descriptors as it may have, and the
// memory a flood of connections used given back once they have gone.
#include <cstddef>

namespace tramox::alpaca {

// Raises the soft limit of open descriptors to the hard one; returns the limit now in force
// (on Windows, where sockets are not counted so, a fixed number).
std::size_t raiseDescriptorLimit();

// Returns the freed heap pages to the system where the allocator keeps them otherwise.
void releaseFreedMemory();

}  // namespace tramox::alpaca
