#include "server/win32/com_module.h"

#include <oleauto.h>

#include "platform/services.h"
#include "server/binding/module_counts.h"

namespace tramox::server::win32 {

ComModule& ComModule::instance() {
  static ComModule module;
  return module;
}

std::wstring ComModule::path() const {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(module_, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return {};
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

ITypeLib* ComModule::typeLibrary() {
  if (typeLibrary_ == nullptr) {
    // The module's path names its first TYPELIB resource.
    LoadTypeLibEx(path().c_str(), REGKIND_NONE, &typeLibrary_);
  }
  return typeLibrary_;
}

ITypeInfo* ComModule::typeInfo(const IID& iid) {
  for (const auto& [known, info] : typeInfos_) {
    if (IsEqualGUID(known, iid)) {
      return info;
    }
  }
  ITypeLib* library = typeLibrary();
  ITypeInfo* info = nullptr;
  if (library == nullptr || FAILED(library->GetTypeInfoOfGuid(iid, &info))) {
    return nullptr;
  }
  typeInfos_.emplace_back(iid, info);  // kept, with its reference, for the module's life
  return info;
}

driver::DriverRuntime& ComModule::runtime() {
  if (runtime_ == nullptr) {
    // Never destroyed: objects may outlive any static destructor order at process exit.
    runtime_ = new driver::DriverRuntime(platform::nativeServices());
    runtime_->holdModule = [] { return std::make_shared<binding::LiveObjectToken>(); };
  }
  return *runtime_;
}

}  // namespace tramox::server::win32
