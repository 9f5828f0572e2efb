#include "tools/client_host.h"

#include <filesystem>

#include "platform/services.h"
#include "server/guid.h"
#include "tools/script_session.h"
#include "tools/value_format.h"

namespace tramox::tools {

std::string defaultModulePath() {
  return TRAMOX_MODULE_PATH;
}
std::string simulatorPath() {
  return TRAMOX_SIMULATOR_PATH;
}

ClientHost::ClientHost() {
  server::portable::HostServices host;
  host.messages = &messages_;
  host.paddleViews = &paddles_;
  runtime_ =
      std::make_unique<server::portable::ClientRuntime>(*platform::nativeServices().registry, host);
}

bool ClientHost::ensureRegistered(const std::string& modulePath, std::string& why) {
  auto& registry = *platform::nativeServices().registry;
  server::Guid clsid;
  if (runtime_->classIdFromProgId(kDriverProgId, clsid) == server::status::kOk) {
    try {
      const auto module =
          registry.readValue(platform::Hive::ClassesRoot,
                             "CLSID\\" + server::toRegistryString(clsid) + "\\InprocServer32", "");
      std::error_code ignored;
      if (module && std::filesystem::exists(module->text, ignored))
        return true;
    } catch (const platform::RegistryError& e) {
      why = e.what();
      return false;
    }
  }
  const auto hr = runtime_->registerModule(modulePath);
  if (hr == server::status::kOk)
    return true;
  why = "registering " + modulePath + " failed (" + formatCode(hr) + ")";
  if (!runtime_->lastLoadError().empty())
    why += ": " + runtime_->lastLoadError();
  return false;
}

}  // namespace tramox::tools
