#pragma once
// The client side of the portable runtime, what the platform does for a COM client:
// programmatic identifier -> class identity (HKCR\<ProgID>\Clsid) -> module
// (HKCR\CLSID\{...}\InprocServer32) -> DllGetClassObject -> factory -> object. Modules stay
// loaded for the life of the runtime.
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "server/binding/com_ref.h"
#include "server/binding/variant.h"
#include "server/late_call_result.h"

namespace tramox::server::portable {

// The runtime speaks the binding's interfaces and variants.
using namespace binding;

class ClientRuntime {
 public:
  // registry: where registrations are read (the classes root). host: lent to every module
  // the runtime loads, before its first object.
  ClientRuntime(platform::IRegistry& registry, HostServices host);
  ~ClientRuntime();
  ClientRuntime(const ClientRuntime&) = delete;
  ClientRuntime& operator=(const ClientRuntime&) = delete;

  // CLSIDFromProgID: kRegDbClassNotReg when the identifier is not registered.
  HResult classIdFromProgId(const std::string& progId, Guid& clsid);
  // CoCreateInstance for an in-process server, asking for IDispatch.
  HResult createObject(const Guid& clsid, ComRef<IDispatch>& object);
  HResult createObject(const std::string& progId, ComRef<IDispatch>& object);

  // The module's own entry points, by path (regsvr32's job).
  HResult registerModule(const std::string& path);
  HResult unregisterModule(const std::string& path);
  // DllCanUnloadNow of every module loaded so far: kOk only when each says so.
  HResult canUnloadNow();

  // The text of the last failure to load a module or find an entry point.
  const std::string& lastLoadError() const { return lastLoadError_; }

 private:
  struct Module {
    void* handle = nullptr;
  };
  Module* load(const std::string& path);
  void* entry(Module& module, const char* name);

  platform::IRegistry& registry_;
  HostServices host_;
  std::map<std::string, Module> modules_;
  std::string lastLoadError_;
};

// Late binding helpers, as a script host does it.
using CallResult = LateCallResult<Variant>;
struct NamedArgument {
  std::string name;
  Variant value;
};
// GetIDsOfNames then Invoke: positional arguments in call order, then named ones. A property
// put takes the new value as its one positional argument.
CallResult invokeByName(IDispatch& object, const std::string& name, std::uint16_t flags,
                        const std::vector<Variant>& positional,
                        const std::vector<NamedArgument>& named = {});

}  // namespace tramox::server::portable
