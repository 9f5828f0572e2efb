#include "server/registration.h"

#include <cstdio>
#include <exception>
#include <functional>

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

std::vector<RegistryEntry> classEntries(const ServerRegistration& target) {
  const std::string inproc =
      target.inprocServerPath ? target.inprocServerPath(target.modulePath) : target.modulePath;
  std::vector<RegistryEntry> entries;
  for (const ClassInfo& cls : classes()) {
    const std::string classKey = classKeyPath(cls);
    const std::string progId(cls.progId);
    const std::vector<RegistryEntry> ofClass = {
        {classKey, "", std::string(cls.helpString)},
        {classKey + "\\InprocServer32", "", inproc},
        {classKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {progId, "", std::string(cls.helpString)},
        {progId + "\\Clsid", "", toRegistryString(cls.clsid)},
        {classKey + "\\ProgID", "", progId},
        {classKey + "\\Version", "", versionText()},
        {classKey + "\\TypeLib", "", toRegistryString(library().libid)}};
    entries.insert(entries.end(), ofClass.begin(), ofClass.end());
  }
  return entries;
}

// Runs `change` as one transaction of the classes root; a failure is reported with its reason.
status::HResult inOneTransaction(const ServerRegistration& target,
                                 const std::function<void(platform::IRegistry&)>& change) noexcept {
  try {
    target.registry.transact(Hive::ClassesRoot, change);
    return status::kOk;
  } catch (const std::exception& e) {
    if (target.reportFailure) {
      target.reportFailure(e.what());
    }
  } catch (...) {
  }
  return status::kFail;
}

}  // namespace

void writeEntries(platform::IRegistry& classesRoot, const std::vector<RegistryEntry>& entries) {
  for (const RegistryEntry& entry : entries) {
    classesRoot.writeValue(Hive::ClassesRoot, entry.key, entry.name,
                           RegistryValue::ofString(entry.text));
  }
}

bool entriesPresent(platform::IRegistry& classesRoot, const std::vector<RegistryEntry>& entries) {
  for (const RegistryEntry& entry : entries) {
    if (classesRoot.readValue(Hive::ClassesRoot, entry.key, entry.name) !=
        RegistryValue::ofString(entry.text)) {
      return false;
    }
  }
  return true;
}

std::string classKeyPath(const ClassInfo& cls) {
  return "CLSID\\" + toRegistryString(cls.clsid);
}

status::HResult registerServer(const ServerRegistration& target) noexcept {
  return inOneTransaction(target, [&](platform::IRegistry& reg) {
    target.typeLibrary.registerTypeLibrary(reg, target.modulePath);
    writeEntries(reg, classEntries(target));
  });
}

status::HResult unregisterServer(const ServerRegistration& target) noexcept {
  return inOneTransaction(target, [&](platform::IRegistry& reg) {
    target.typeLibrary.unregisterTypeLibrary(reg);
    for (const ClassInfo& cls : classes()) {
      const std::string classKey = classKeyPath(cls);
      const std::string progId(cls.progId);
      // Children before parents: a key with subkeys cannot be deleted.
      for (const std::string& key :
           {classKey + "\\TypeLib", classKey + "\\Version", classKey + "\\ProgID",
            progId + "\\Clsid", progId, classKey + "\\InprocServer32", classKey}) {
        reg.deleteKey(Hive::ClassesRoot, key);
      }
    }
  });
}

bool serverRegistered(const ServerRegistration& target) {
  bool complete = false;
  target.registry.snapshot(Hive::ClassesRoot, [&](platform::IRegistry& reg) {
    complete = target.typeLibrary.typeLibraryRegistered(reg, target.modulePath) &&
               entriesPresent(reg, classEntries(target));
  });
  return complete;
}

}  // namespace tramox::server
