#include "server/registration.h"

#include <cstdio>

#include "server/member_table.h"

namespace tramox::server {
namespace {

using platform::Hive;
using platform::RegistryValue;

std::string versionText() {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d", library().majorVersion, library().minorVersion);
  return text;
}

void writeDefault(platform::IRegistry& registry, const std::string& path, std::string text) {
  registry.writeValue(Hive::ClassesRoot, path, "", RegistryValue::ofString(std::move(text)));
}

}  // namespace

std::string classKeyPath(const ClassInfo& cls) {
  return "CLSID\\" + toRegistryString(cls.clsid);
}

status::HResult registerServer(const ServerRegistration& target) noexcept {
  try {
    target.typeLibrary.registerTypeLibrary(target.modulePath);
    auto& reg = target.registry;
    const std::string inproc =
        target.inprocServerPath ? target.inprocServerPath(target.modulePath) : target.modulePath;
    for (const ClassInfo& cls : classes()) {
      const std::string classKey = classKeyPath(cls);
      const std::string progId(cls.progId);
      writeDefault(reg, classKey, std::string(cls.helpString));
      writeDefault(reg, classKey + "\\InprocServer32", inproc);
      reg.writeValue(Hive::ClassesRoot, classKey + "\\InprocServer32", "ThreadingModel",
                     RegistryValue::ofString("Apartment"));
      writeDefault(reg, progId, std::string(cls.helpString));
      writeDefault(reg, progId + "\\Clsid", toRegistryString(cls.clsid));
      writeDefault(reg, classKey + "\\ProgID", progId);
      writeDefault(reg, classKey + "\\Version", versionText());
      writeDefault(reg, classKey + "\\TypeLib", toRegistryString(library().libid));
    }
    return status::kOk;
  } catch (...) {
    return status::kFail;
  }
}

status::HResult unregisterServer(const ServerRegistration& target) noexcept {
  try {
    target.typeLibrary.unregisterTypeLibrary();
    auto& reg = target.registry;
    for (const ClassInfo& cls : classes()) {
      const std::string classKey = classKeyPath(cls);
      const std::string progId(cls.progId);
      // Children before parents: a key with subkeys cannot be deleted.
      for (const std::string& key :
           {classKey + "\\TypeLib", classKey + "\\Version", classKey + "\\ProgID",
            progId + "\\Clsid", progId, classKey + "\\InprocServer32", classKey})
        reg.deleteKey(Hive::ClassesRoot, key);
    }
    return status::kOk;
  } catch (...) {
    return status::kFail;
  }
}

}  // namespace tramox::server
