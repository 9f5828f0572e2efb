// The exports of the TRAMOX module on POSIX: the four in-process server functions, plus the
// hook by which the hosting process lends its message windows and paddle view (a window
// station is the platform's on Windows; here the host provides it).
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "platform/services.h"
#include "server/binding/module_counts.h"
#include "server/portable/class_factory.h"
#include "server/portable/module_state.h"
#include "server/portable/type_library_keys.h"

namespace portable = tramox::server::portable;
namespace binding = tramox::server::binding;
namespace status = tramox::server::status;

namespace {

// The full path of this module, as the dynamic loader knows it.
std::string modulePath() {
  Dl_info info{};
  static const char anchor = 0;
  if (dladdr(&anchor, &info) == 0 || !info.dli_fname) {
    return {};
  }
  char resolved[4096];
  if (realpath(info.dli_fname, resolved)) {
    return resolved;
  }
  return info.dli_fname;
}

// The entry points answer only a status: the reason goes to the host's standard error.
tramox::server::ServerRegistration registrationOf(portable::TypeLibraryKeys& keys,
                                                  const char* entryPoint) {
  auto& registry = *tramox::platform::nativeServices().registry;
  return {registry, keys, modulePath(), nullptr, [entryPoint](const std::string& why) {
            std::fprintf(stderr, "TRAMOX: %s: %s\n", entryPoint, why.c_str());
          }};
}

}  // namespace

#define TRAMOX_EXPORT extern "C" __attribute__((visibility("default")))

TRAMOX_EXPORT status::HResult DllGetClassObject(const tramox::server::Guid* clsid,
                                                const tramox::server::Guid* iid, void** object) {
  if (!object) {
    return status::kPointer;
  }
  *object = nullptr;
  if (!clsid || !iid) {
    return status::kInvalidArg;
  }
  portable::ClassFactory* factory = portable::findFactory(*clsid);
  if (!factory) {
    return status::kClassNotAvailable;
  }
  return factory->QueryInterface(*iid, object);
}

TRAMOX_EXPORT status::HResult DllCanUnloadNow() {
  return tramox::server::binding::ModuleCounts::instance().canUnload() ? status::kOk
                                                                       : status::kFalse;
}

TRAMOX_EXPORT status::HResult DllRegisterServer() {
  try {
    portable::TypeLibraryKeys keys;
    return tramox::server::registerServer(registrationOf(keys, "DllRegisterServer"));
  } catch (...) {
    return status::kFail;
  }
}

TRAMOX_EXPORT status::HResult DllUnregisterServer() {
  try {
    portable::TypeLibraryKeys keys;
    return tramox::server::unregisterServer(registrationOf(keys, "DllUnregisterServer"));
  } catch (...) {
    return status::kFail;
  }
}

TRAMOX_EXPORT status::HResult TramoxSetHostServices(const binding::HostServices* services) {
  if (!services) {
    return status::kPointer;
  }
  return portable::ModuleState::instance().setHostServices(*services) ? status::kOk : status::kFail;
}
