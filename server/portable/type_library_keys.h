#pragma once
// The portable runtime's stand-in for the platform's type-library registration: the same
// keys RegisterTypeLib writes (TypeLib\{libid}\1.0 with the library's location, and an
// Interface key per dual interface), with the platform kind "posix" for the location.
#include "platform/registry.h"
#include "server/registration.h"

namespace tramox::server::portable {

class TypeLibraryKeys final : public TypeLibraryRegistrar {
 public:
  void registerTypeLibrary(platform::IRegistry& classesRoot,
                           const std::string& modulePath) override;
  void unregisterTypeLibrary(platform::IRegistry& classesRoot) override;
  bool typeLibraryRegistered(platform::IRegistry& classesRoot,
                             const std::string& modulePath) override;
};

}  // namespace tramox::server::portable
