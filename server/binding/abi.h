#pragma once
// The binary interfaces of the portable automation runtime: the same shapes as the platform's
// IUnknown, IClassFactory, IDispatch and IEnumVARIANT, with the same identities and the same
// argument conventions (DISPPARAMS holds its arguments last-first, named ones first), so that
// a client written against them reads like a COM client. Module and clients are built by the
// same compiler, so C++ virtual tables serve as the binary interface; no exception crosses it.
#include <cstdint>
#include <string>

#include "server/binding/excep_info.h"
#include "server/guid.h"
#include "server/member_table.h"
#include "server/status_codes.h"

namespace tramox::platform {
class IMessageWindows;
class IPaddleViewFactory;
class IClock;
}  // namespace tramox::platform

namespace tramox::server::binding {

using status::HResult;
class Variant;

inline constexpr Guid kIidIUnknown = makeGuid("00000000-0000-0000-C000-000000000046");
inline constexpr Guid kIidIClassFactory = makeGuid("00000001-0000-0000-C000-000000000046");
inline constexpr Guid kIidIDispatch = makeGuid("00020400-0000-0000-C000-000000000046");
inline constexpr Guid kIidIEnumVariant = makeGuid("00020404-0000-0000-C000-000000000046");

inline constexpr DispId kDispIdUnknown = -1;

// Invoke flags.
inline constexpr std::uint16_t kDispatchMethod = 1;
inline constexpr std::uint16_t kDispatchPropertyGet = 2;
inline constexpr std::uint16_t kDispatchPropertyPut = 4;
inline constexpr std::uint16_t kDispatchPropertyPutRef = 8;

// The one Invoke flag that asks for a member of this kind.
constexpr std::uint16_t invokeFlagOf(MemberKind kind) {
  return kind == MemberKind::Method        ? kDispatchMethod
         : kind == MemberKind::PropertyGet ? kDispatchPropertyGet
                                           : kDispatchPropertyPut;
}

class IUnknown {
 public:
  virtual HResult QueryInterface(const Guid& iid, void** object) = 0;
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  virtual HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
  virtual HResult LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// As DISPPARAMS: args[argCount - 1] is the first positional argument; the first namedCount
// entries of args are the named ones, their identifiers in namedArgs.
struct DispParams {
  Variant* args = nullptr;
  const DispId* namedArgs = nullptr;
  std::uint32_t argCount = 0;
  std::uint32_t namedCount = 0;
};

// As EXCEPINFO, filled when Invoke answers kDispException; the reason is the driver's, which
// real COM's error information has no field for.

class IDispatch : public IUnknown {
 public:
  // names[0] is the member, the others its parameters; unknown ones get kDispIdUnknown and
  // the call answers kDispUnknownName.
  virtual HResult GetIDsOfNames(const std::string* names, std::uint32_t count, DispId* ids) = 0;
  virtual HResult Invoke(DispId member, std::uint16_t flags, DispParams* params, Variant* result,
                         ExcepInfo* excepInfo, std::uint32_t* argErr) = 0;

 protected:
  ~IDispatch() = default;
};

class IEnumVariant : public IUnknown {
 public:
  virtual HResult Next(std::uint32_t count, Variant* items, std::uint32_t* fetched) = 0;
  virtual HResult Skip(std::uint32_t count) = 0;
  virtual HResult Reset() = 0;
  virtual HResult Clone(IEnumVariant** enumerator) = 0;

 protected:
  ~IEnumVariant() = default;
};

// What the hosting process lends the module before it creates its first object: where
// message windows and paddle error boxes appear, and which view shows the hand paddle. A
// null member keeps the platform's default.
struct HostServices {
  platform::IMessageWindows* messages = nullptr;
  platform::IPaddleViewFactory* paddleViews = nullptr;
  // The clock the driver reads and sleeps on (a host that serves other work while the driver
  // waits lends its own).
  platform::IClock* clock = nullptr;
};

// The module's exports, by name, as the client resolves them.
inline constexpr const char* kDllGetClassObject = "DllGetClassObject";
inline constexpr const char* kDllCanUnloadNow = "DllCanUnloadNow";
inline constexpr const char* kDllRegisterServer = "DllRegisterServer";
inline constexpr const char* kDllUnregisterServer = "DllUnregisterServer";
inline constexpr const char* kTramoxSetHostServices = "TramoxSetHostServices";

using DllGetClassObjectFn = HResult (*)(const Guid* clsid, const Guid* iid, void** object);
using DllCanUnloadNowFn = HResult (*)();
using DllRegisterServerFn = HResult (*)();
using DllUnregisterServerFn = HResult (*)();
// kFail once the module has created its driver runtime: the services are fixed by then.
using TramoxSetHostServicesFn = HResult (*)(const HostServices* services);

}  // namespace tramox::server::binding
