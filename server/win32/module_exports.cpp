// The module's four exports and its entry point.
#include <windows.h>

#include <oleauto.h>

#include <cstring>

#include "platform/win32/wide_text.h"
#include "platform/win32/win_registry.h"
#include "server/binding/module_counts.h"
#include "server/registration.h"
#include "server/win32/class_factory.h"
#include "server/win32/com_guid.h"
#include "server/win32/com_module.h"

namespace tramox::server::win32 {

namespace {

class PlatformTypeLibraryRegistrar final : public TypeLibraryRegistrar {
 public:
  // The platform's calls write the keys themselves, under the registration's mutex.
  void registerTypeLibrary(platform::IRegistry&, const std::string& modulePath) override {
    const std::wstring path = platform::win32::toWide(modulePath);
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
    if (SUCCEEDED(hr)) {
      hr = RegisterTypeLib(library, const_cast<LPOLESTR>(path.c_str()), nullptr);
      library->Release();
    }
    check(hr, "Cannot register the type library");
  }
  bool typeLibraryRegistered(platform::IRegistry&, const std::string&) override {
    const LibraryInfo& lib = library();
    BSTR registeredPath = nullptr;
    if (FAILED(QueryPathOfRegTypeLib(toGuid(lib.libid), lib.majorVersion, lib.minorVersion,
                                     lib.lcid, &registeredPath))) {
      return false;
    }
    SysFreeString(registeredPath);
    return true;
  }
  void unregisterTypeLibrary(platform::IRegistry&) override {
    const LibraryInfo& lib = library();
    const GUID libid = toGuid(lib.libid);
    BSTR registeredPath = nullptr;
    // Not registered (any more) is what unregistration wants.
    if (FAILED(QueryPathOfRegTypeLib(libid, lib.majorVersion, lib.minorVersion, lib.lcid,
                                     &registeredPath))) {
      return;
    }
    SysFreeString(registeredPath);
    const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    check(UnRegisterTypeLib(libid, lib.majorVersion, lib.minorVersion, lib.lcid, kind),
          "Cannot unregister the type library");
  }

 private:
  static void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) {
      throw std::runtime_error(std::string(what) + ": " +
                               platform::win32::systemMessage(static_cast<unsigned long>(hr)));
    }
  }
};

// The path written to InprocServer32: its short 8.3 form when it has a blank, as some hosts
// split an unquoted server path at the first blank.
std::string inprocServerPath(const std::string& path) {
  if (path.find(' ') == std::string::npos) {
    return path;
  }
  const std::wstring wide = platform::win32::toWide(path);
  const DWORD length = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (length == 0) {
    return path;
  }
  std::wstring shortPath(length, L'\0');
  const DWORD written = GetShortPathNameW(wide.c_str(), shortPath.data(), length);
  if (written == 0 || written >= length) {
    return path;
  }
  shortPath.resize(written);
  return platform::win32::fromWide(shortPath);
}

// The entry points answer only a status: the reason goes where COM callers look for one.
void reportFailure(const std::string& why) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) {
    return;
  }
  std::wstring text = platform::win32::toWide(why);
  create->SetDescription(text.data());
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
}

HRESULT registration(bool install) {
  platform::win32::WinRegistry registry;
  PlatformTypeLibraryRegistrar typeLibrary;
  ServerRegistration target{registry, typeLibrary,
                            platform::win32::fromWide(ComModule::instance().path()),
                            &inprocServerPath, &reportFailure};
  return install ? registerServer(target) : unregisterServer(target);
}

}  // namespace
}  // namespace tramox::server::win32

using tramox::server::win32::ComModule;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ComModule::instance().attach(module);
    DisableThreadLibraryCalls(module);
    tramox::server::win32::findFactory(GUID_NULL);  // the factories exist from load on
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  *object = nullptr;
  auto* factory = tramox::server::win32::findFactory(clsid);
  if (factory == nullptr) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return factory->QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return tramox::server::binding::ModuleCounts::instance().canUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return tramox::server::win32::registration(true);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return tramox::server::win32::registration(false);
}
