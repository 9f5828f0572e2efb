#include "server/portable/client_runtime.h"

#include <dlfcn.h>

#include "server/argument_position.h"

namespace tramox::server::portable {

using platform::Hive;

ClientRuntime::ClientRuntime(platform::IRegistry& registry, HostServices host)
    : registry_(registry), host_(host) {}

// Modules stay loaded: objects they made may still be referenced by the caller, and a
// module with live objects must never be unloaded under them.
ClientRuntime::~ClientRuntime() = default;

ClientRuntime::Module* ClientRuntime::load(const std::string& path) {
  auto found = modules_.find(path);
  if (found != modules_.end()) {
    return &found->second;
  }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    lastLoadError_ = why ? why : "cannot load " + path;
    return nullptr;
  }
  Module& module = modules_[path];
  module.handle = handle;
  if (auto hook =
          reinterpret_cast<TramoxSetHostServicesFn>(dlsym(handle, kTramoxSetHostServices))) {
    hook(&host_);
  }
  return &module;
}

void* ClientRuntime::entry(Module& module, const char* name) {
  void* symbol = dlsym(module.handle, name);
  if (!symbol) {
    lastLoadError_ = std::string("the module does not export ") + name;
  }
  return symbol;
}

HResult ClientRuntime::classIdFromProgId(const std::string& progId, Guid& clsid) {
  try {
    const auto value = registry_.readValue(Hive::ClassesRoot, progId + "\\Clsid", "");
    if (!value || value->kind != platform::ValueKind::String || !parseGuid(value->text, clsid)) {
      return status::kRegDbClassNotReg;
    }
    return status::kOk;
  } catch (const platform::RegistryError&) {
    return status::kRegDbClassNotReg;
  }
}

HResult ClientRuntime::createObject(const Guid& clsid, ComRef<IDispatch>& object) {
  std::string path;
  try {
    const auto value = registry_.readValue(
        Hive::ClassesRoot, "CLSID\\" + toRegistryString(clsid) + "\\InprocServer32", "");
    if (!value || value->kind != platform::ValueKind::String || value->text.empty()) {
      return status::kRegDbClassNotReg;
    }
    path = value->text;
  } catch (const platform::RegistryError&) {
    return status::kRegDbClassNotReg;
  }
  Module* module = load(path);
  if (!module) {
    return status::kRegDbClassNotReg;
  }
  auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(entry(*module, kDllGetClassObject));
  if (!getClassObject) {
    return status::kRegDbClassNotReg;
  }
  ComRef<IClassFactory> factory;
  HResult hr = getClassObject(&clsid, &kIidIClassFactory, reinterpret_cast<void**>(factory.out()));
  if (status::failed(hr)) {
    return hr;
  }
  if (!factory) {
    return status::kUnexpected;
  }
  return factory->CreateInstance(nullptr, kIidIDispatch, reinterpret_cast<void**>(object.out()));
}

HResult ClientRuntime::createObject(const std::string& progId, ComRef<IDispatch>& object) {
  Guid clsid;
  const HResult hr = classIdFromProgId(progId, clsid);
  if (status::failed(hr)) {
    return hr;
  }
  return createObject(clsid, object);
}

HResult ClientRuntime::registerModule(const std::string& path) {
  Module* module = load(path);
  if (!module) {
    return status::kFail;
  }
  auto fn = reinterpret_cast<DllRegisterServerFn>(entry(*module, kDllRegisterServer));
  return fn ? fn() : status::kFail;
}

HResult ClientRuntime::unregisterModule(const std::string& path) {
  Module* module = load(path);
  if (!module) {
    return status::kFail;
  }
  auto fn = reinterpret_cast<DllUnregisterServerFn>(entry(*module, kDllUnregisterServer));
  return fn ? fn() : status::kFail;
}

HResult ClientRuntime::canUnloadNow() {
  for (auto& [path, module] : modules_) {
    auto fn = reinterpret_cast<DllCanUnloadNowFn>(dlsym(module.handle, kDllCanUnloadNow));
    if (fn && fn() != status::kOk) {
      return status::kFalse;
    }
  }
  return status::kOk;
}

CallResult invokeByName(IDispatch& object, const std::string& name, std::uint16_t flags,
                        const std::vector<Variant>& positional,
                        const std::vector<NamedArgument>& named) {
  CallResult result;
  std::vector<std::string> names{name};
  for (const NamedArgument& a : named) {
    names.push_back(a.name);
  }
  std::vector<DispId> ids(names.size(), kDispIdUnknown);
  result.hr =
      object.GetIDsOfNames(names.data(), static_cast<std::uint32_t>(names.size()), ids.data());
  if (status::failed(result.hr)) {
    for (std::size_t i = 1; i < names.size() && ids[0] != kDispIdUnknown; ++i) {
      if (ids[i] == kDispIdUnknown) {
        result.unknownParameter = names[i];
        break;
      }
    }
    return result;
  }

  const bool put = (flags & (kDispatchPropertyPut | kDispatchPropertyPutRef)) != 0;
  // DISPPARAMS order: named arguments first, then the positional ones last-first.
  std::vector<Variant> args;
  std::vector<DispId> namedIds;
  if (put) {
    namedIds.push_back(kDispIdPropertyPut);
  }
  for (std::size_t i = 0; i < named.size(); ++i) {
    args.push_back(named[i].value);
    namedIds.push_back(ids[i + 1]);
  }
  for (auto it = positional.rbegin(); it != positional.rend(); ++it) {
    args.push_back(*it);
  }
  DispParams params;
  params.args = args.data();
  params.argCount = static_cast<std::uint32_t>(args.size());
  params.namedArgs = namedIds.data();
  params.namedCount = static_cast<std::uint32_t>(namedIds.size());
  if (put && !named.empty()) {
    // The put value has to be the first named argument; named indexes do not mix with it.
    result.hr = status::kDispBadParamCount;
    return result;
  }
  std::uint32_t argErr = 0;
  result.hr = object.Invoke(ids[0], flags, &params, &result.value, &result.error, &argErr);
  result.argErr =
      argumentInCallOrder(argErr, put, params.namedCount,
                          static_cast<std::uint32_t>(positional.size()), params.argCount);
  return result;
}

}  // namespace tramox::server::portable
