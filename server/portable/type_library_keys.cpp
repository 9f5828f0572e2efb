#include "server/portable/type_library_keys.h"

#include <vector>

#include "server/member_table.h"

namespace tramox::server::portable {
namespace {

using platform::Hive;
using platform::RegistryValue;

// The platform's automation marshaler, which dual interfaces name as their proxy.
constexpr const char* kAutomationMarshaler = "{00020424-0000-0000-C000-000000000046}";

std::string libraryKey() {
  return "TypeLib\\" + toRegistryString(library().libid) + "\\" +
         std::to_string(library().majorVersion) + "." + std::to_string(library().minorVersion);
}

std::vector<const InterfaceInfo*> dualInterfaces() {
  return {&telescopeInterface(), &rateInterface(), &ratesInterface(), &trackingRatesColInterface()};
}

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::vector<RegistryEntry> entriesOf(const std::string& modulePath) {
  const std::string lib = libraryKey();
  const std::string libid = toRegistryString(library().libid);
  std::vector<RegistryEntry> entries = {{lib, "", std::string(library().helpString)},
                                        {lib + "\\0\\posix", "", modulePath},
                                        {lib + "\\FLAGS", "", "0"},
                                        {lib + "\\HELPDIR", "", folderOf(modulePath)}};
  for (const InterfaceInfo* iface : dualInterfaces()) {
    const std::string key = "Interface\\" + toRegistryString(iface->iid);
    const std::vector<RegistryEntry> ofInterface = {
        {key, "", std::string(iface->name)},
        {key + "\\ProxyStubClsid32", "", kAutomationMarshaler},
        {key + "\\TypeLib", "", libid},
        {key + "\\TypeLib", "Version", "1.0"}};
    entries.insert(entries.end(), ofInterface.begin(), ofInterface.end());
  }
  return entries;
}

}  // namespace

void TypeLibraryKeys::registerTypeLibrary(platform::IRegistry& classesRoot,
                                          const std::string& modulePath) {
  writeEntries(classesRoot, entriesOf(modulePath));
}

bool TypeLibraryKeys::typeLibraryRegistered(platform::IRegistry& classesRoot,
                                            const std::string& modulePath) {
  return entriesPresent(classesRoot, entriesOf(modulePath));
}

void TypeLibraryKeys::unregisterTypeLibrary(platform::IRegistry& classesRoot) {
  const std::string lib = libraryKey();
  for (const std::string& key :
       {lib + "\\0\\posix", lib + "\\0", lib + "\\FLAGS", lib + "\\HELPDIR", lib}) {
    classesRoot.deleteKey(Hive::ClassesRoot, key);
  }
  // The library's key goes once no other version is registered under it.
  const std::string libRoot = "TypeLib\\" + toRegistryString(library().libid);
  try {
    classesRoot.deleteKey(Hive::ClassesRoot, libRoot);
  } catch (const platform::RegistryError&) {
    // Another version still lives there.
  }
  for (const InterfaceInfo* iface : dualInterfaces()) {
    const std::string key = "Interface\\" + toRegistryString(iface->iid);
    for (const std::string& sub : {key + "\\ProxyStubClsid32", key + "\\TypeLib", key}) {
      classesRoot.deleteKey(Hive::ClassesRoot, sub);
    }
  }
}

}  // namespace tramox::server::portable
