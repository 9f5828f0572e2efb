#pragma once
// The portable runtime's stand-in for the platform's type-library registration: the same
// keys RegisterTypeLib writes (TypeLib\{libid}\1.0 with the library's location, and an
// Interface key per dual interface), with the platform kind "posix" for the location.
#include "platform/registry.h"
#include "server/registration.h"

namespace tramox::server::portable {

class TypeLibraryKeys final : public TypeLibraryRegistrar {
 public:
  explicit TypeLibraryKeys(platform::IRegistry& registry) : registry_(registry) {}
  void registerTypeLibrary(const std::string& modulePath) override;
  void unregisterTypeLibrary() override;

 private:
  platform::IRegistry& registry_;
};

}  // namespace tramox::server::portable
