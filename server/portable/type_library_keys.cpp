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

}  // namespace

void TypeLibraryKeys::registerTypeLibrary(const std::string& modulePath) {
  auto str = [](std::string s) { return RegistryValue::ofString(std::move(s)); };
  const std::string lib = libraryKey();
  registry_.writeValue(Hive::ClassesRoot, lib, "", str(std::string(library().helpString)));
  registry_.writeValue(Hive::ClassesRoot, lib + "\\0\\posix", "", str(modulePath));
  registry_.writeValue(Hive::ClassesRoot, lib + "\\FLAGS", "", str("0"));
  registry_.writeValue(Hive::ClassesRoot, lib + "\\HELPDIR", "", str(folderOf(modulePath)));
  for (const InterfaceInfo* iface : dualInterfaces()) {
    const std::string key = "Interface\\" + toRegistryString(iface->iid);
    registry_.writeValue(Hive::ClassesRoot, key, "", str(std::string(iface->name)));
    registry_.writeValue(Hive::ClassesRoot, key + "\\ProxyStubClsid32", "",
                         str(kAutomationMarshaler));
    registry_.writeValue(Hive::ClassesRoot, key + "\\TypeLib", "",
                         str(toRegistryString(library().libid)));
    registry_.writeValue(Hive::ClassesRoot, key + "\\TypeLib", "Version", str("1.0"));
  }
}

void TypeLibraryKeys::unregisterTypeLibrary() {
  const std::string lib = libraryKey();
  for (const std::string& key :
       {lib + "\\0\\posix", lib + "\\0", lib + "\\FLAGS", lib + "\\HELPDIR", lib})
    registry_.deleteKey(Hive::ClassesRoot, key);
  // The library's key goes once no other version is registered under it.
  const std::string libRoot = "TypeLib\\" + toRegistryString(library().libid);
  try {
    registry_.deleteKey(Hive::ClassesRoot, libRoot);
  } catch (const platform::RegistryError&) {
    // Another version still lives there.
  }
  for (const InterfaceInfo* iface : dualInterfaces()) {
    const std::string key = "Interface\\" + toRegistryString(iface->iid);
    for (const std::string& sub : {key + "\\ProxyStubClsid32", key + "\\TypeLib", key})
      registry_.deleteKey(Hive::ClassesRoot, sub);
  }
}

}  // namespace tramox::server::portable
