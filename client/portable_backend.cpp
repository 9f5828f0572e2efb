#include "client/portable_backend.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/services.h"
#include "server/guid.h"
#include "server/member_table.h"
#include "server/portable/type_library_keys.h"
#include "server/registration.h"
#include "server/status_codes.h"

namespace tramox::client {

namespace binding = server::binding;
namespace portable = server::portable;
namespace status = server::status;
using binding::ComRef;
using binding::IDispatch;
using binding::IUnknown;
using binding::Variant;
using binding::VarType;

namespace {

// Holds the identity reference; the interfaces asked for are taken per call.
class PortableObject final : public ClientObject {
 public:
  explicit PortableObject(ComRef<IUnknown> identity) : identity_(std::move(identity)) {}
  const void* identity() const override { return identity_.get(); }
  IUnknown& unknown() const { return *identity_.get(); }

 private:
  ComRef<IUnknown> identity_;
};

ObjectRef wrap(IUnknown* object) {
  if (!object) {
    return nullptr;
  }
  ComRef<IUnknown> identity;
  object->QueryInterface(binding::kIidIUnknown, reinterpret_cast<void**>(identity.out()));
  if (!identity) {
    return nullptr;
  }
  return std::make_shared<PortableObject>(std::move(identity));
}

IUnknown& unknownOf(ClientObject& object) {
  return static_cast<PortableObject&>(object).unknown();
}

ComRef<IDispatch> dispatchOf(ClientObject& object) {
  ComRef<IDispatch> d;
  unknownOf(object).QueryInterface(binding::kIidIDispatch, reinterpret_cast<void**>(d.out()));
  return d;
}

Value fromVariant(const Variant& v) {
  Value value;
  switch (v.type()) {
    case VarType::Empty:
      break;
    case VarType::Bool:
      value.kind = Value::Kind::Bool;
      value.boolean = v.boolValue();
      break;
    case VarType::Int32:
      value.kind = Value::Kind::Int32;
      value.int32 = v.int32Value();
      break;
    case VarType::Double:
    case VarType::Date:
      value.kind = v.type() == VarType::Date ? Value::Kind::Date : Value::Kind::Double;
      value.number = v.doubleValue();
      break;
    case VarType::Text:
      value.kind = Value::Kind::Text;
      value.text = v.text();
      break;
    case VarType::Dispatch:
    case VarType::Unknown:
      value.kind = Value::Kind::Object;
      value.object = wrap(v.unknown());
      break;
  }
  return value;
}

Variant toVariant(const Value& value) {
  switch (value.kind) {
    case Value::Kind::Empty:
      return Variant();
    case Value::Kind::Bool:
      return Variant::ofBool(value.boolean);
    case Value::Kind::Int32:
      return Variant::ofInt32(value.int32);
    case Value::Kind::Double:
      return Variant::ofDouble(value.number);
    case Value::Kind::Date:
      return Variant::ofDate(value.number);
    case Value::Kind::Text:
      return Variant::ofText(value.text);
    case Value::Kind::Object:
      return Variant::ofDispatch(value.object ? dispatchOf(*value.object).get() : nullptr);
  }
  return Variant();
}

// The enumerator is kept by its IEnumVARIANT, which is what Next is called on.
class PortableEnumerator final : public ClientObject {
 public:
  explicit PortableEnumerator(ComRef<binding::IEnumVariant> e) : enumerator_(std::move(e)) {}
  const void* identity() const override { return enumerator_.get(); }
  binding::IEnumVariant& enumerator() const { return *enumerator_.get(); }

 private:
  ComRef<binding::IEnumVariant> enumerator_;
};

}  // namespace

std::string defaultModulePath() {
  return TRAMOX_MODULE_PATH;
}
std::string simulatorPath() {
  return TRAMOX_SIMULATOR_PATH;
}

std::unique_ptr<IClientBackend> makeClientBackend(platform::IClock* lentClock,
                                                  platform::IMessageWindows* lentMessages) {
  return std::make_unique<PortableBackend>(lentClock, lentMessages);
}

PortableBackend::PortableBackend(platform::IClock* lentClock,
                                 platform::IMessageWindows* lentMessages) {
  binding::HostServices host;
  host.messages = lentMessages != nullptr ? lentMessages : &messages_;
  host.paddleViews = &paddles_;
  host.clock = lentClock;
  runtime_ =
      std::make_unique<server::portable::ClientRuntime>(*platform::nativeServices().registry, host);
}

PortableBackend::~PortableBackend() = default;

std::int32_t PortableBackend::createDriver(ObjectRef& driver, std::string& why) {
  ComRef<IDispatch> created;
  const std::int32_t hr = runtime_->createObject(kDriverProgId, created);
  if (status::failed(hr)) {
    why = runtime_->lastLoadError();
    return hr;
  }
  driver = wrap(created.get());
  return driver ? status::kOk : status::kNoInterface;
}

CallResult PortableBackend::invoke(ClientObject& object, const std::string& member, CallKind kind,
                                   const std::vector<Value>& positional,
                                   const std::vector<NamedValue>& named) {
  CallResult result;
  ComRef<IDispatch> dispatch = dispatchOf(object);
  if (!dispatch) {
    result.hr = status::kNoInterface;
    return result;
  }
  std::vector<Variant> args;
  for (const Value& v : positional) {
    args.push_back(toVariant(v));
  }
  std::vector<portable::NamedArgument> namedArgs;
  for (const NamedValue& n : named) {
    namedArgs.push_back({n.name, toVariant(n.value)});
  }
  return portable::invokeByName(*dispatch.get(), member, dispatchFlags(kind), args, namedArgs)
      .withValue(fromVariant);
}

CallResult PortableBackend::newEnum(ClientObject& object) {
  CallResult result;
  ComRef<IDispatch> dispatch = dispatchOf(object);
  if (!dispatch) {
    result.hr = status::kNoInterface;
    return result;
  }
  binding::DispParams none;
  Variant enumVariant;
  result.hr = dispatch->Invoke(server::kDispIdNewEnum,
                               binding::kDispatchMethod | binding::kDispatchPropertyGet, &none,
                               &enumVariant, &result.error, nullptr);
  ComRef<binding::IEnumVariant> enumerator;
  if (!status::failed(result.hr) && enumVariant.unknown() &&
      enumVariant.unknown()->QueryInterface(
          binding::kIidIEnumVariant, reinterpret_cast<void**>(enumerator.out())) == status::kOk) {
    result.value.kind = Value::Kind::Object;
    result.value.object = std::make_shared<PortableEnumerator>(std::move(enumerator));
  }
  return result;
}

std::int32_t PortableBackend::next(ClientObject& enumerator, std::uint32_t count,
                                   std::vector<Value>& items) {
  std::vector<Variant> fetched(count);
  std::uint32_t total = 0;
  const std::int32_t hr =
      static_cast<PortableEnumerator&>(enumerator).enumerator().Next(count, fetched.data(), &total);
  for (std::uint32_t i = 0; i < total && i < count; ++i) {
    items.push_back(fromVariant(fetched[i]));
  }
  return hr;
}

bool PortableBackend::supports(ClientObject& object, const server::Guid& iid) {
  ComRef<IUnknown> probe;
  return unknownOf(object).QueryInterface(iid, reinterpret_cast<void**>(probe.out())) ==
         status::kOk;
}

std::int32_t PortableBackend::canUnloadNow() {
  return runtime_->canUnloadNow();
}

std::optional<std::vector<platform::PaddleControlState>> PortableBackend::paddleControls() {
  platform::HeadlessPaddleView* view = paddles_.current();
  if (!view) {
    return std::nullopt;
  }
  return view->controls();
}

platform::IPaddleEvents* PortableBackend::paddleEvents() {
  platform::HeadlessPaddleView* view = paddles_.current();
  return view ? view->events() : nullptr;
}

void PortableBackend::wait(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::int32_t PortableBackend::registerModule(const std::string& path) {
  return runtime_->registerModule(path);
}

std::int32_t PortableBackend::unregisterModule(const std::string& path) {
  return runtime_->unregisterModule(path);
}

bool PortableBackend::driverRegistered() {
  server::Guid clsid;
  if (runtime_->classIdFromProgId(kDriverProgId, clsid) != status::kOk) {
    return false;
  }
  auto& registry = *platform::nativeServices().registry;
  const auto module =
      registry.readValue(platform::Hive::ClassesRoot,
                         "CLSID\\" + server::toRegistryString(clsid) + "\\InprocServer32", "");
  std::error_code ignored;
  if (!module || !std::filesystem::exists(module->text, ignored)) {
    return false;
  }
  // A registration cut short, or partly undone, counts as none, so that it is made again.
  server::portable::TypeLibraryKeys keys;
  return server::serverRegistered({registry, keys, module->text, nullptr, nullptr});
}

}  // namespace tramox::client
