#include "tools/script_session.h"

#include <chrono>
#include <thread>

#include "server/member_table.h"
#include "tools/value_format.h"

namespace tramox::tools {

namespace portable = server::portable;
namespace status = server::status;
using portable::ComRef;
using portable::IDispatch;
using portable::IUnknown;
using portable::Variant;
using portable::VarType;

namespace {

ComRef<IUnknown> identityOf(IUnknown* object) {
  ComRef<IUnknown> identity;
  if (object)
    object->QueryInterface(portable::kIidIUnknown, reinterpret_cast<void**>(identity.out()));
  return identity;
}

ComRef<IDispatch> dispatchOf(IUnknown* object) {
  ComRef<IDispatch> d;
  if (object)
    object->QueryInterface(portable::kIidIDispatch, reinterpret_cast<void**>(d.out()));
  return d;
}

// What the object's type information says of a member, found through the interfaces it
// answers to, as a client reading the type library would.
const server::MemberInfo* describeMember(IUnknown& object, const std::string& name,
                                         bool preferMethod) {
  for (const server::ClassInfo& cls : server::classes()) {
    ComRef<IUnknown> probe;
    if (object.QueryInterface(cls.defaultInterface->iid, reinterpret_cast<void**>(probe.out())) !=
        status::kOk)
      continue;
    const server::MemberInfo* getter = nullptr;
    for (const server::MemberInfo& m : cls.defaultInterface->members) {
      if (!server::equalsIgnoreCase(m.name, name))
        continue;
      if (preferMethod && m.kind == server::MemberKind::Method)
        return &m;
      if (m.kind == server::MemberKind::PropertyGet)
        getter = &m;
    }
    return getter;
  }
  return nullptr;
}

std::string ordinal(std::uint32_t index) {
  return "argument " + std::to_string(index + 1);
}

// The client's own words for the automation layer's refusals.
std::string dispatchMessage(std::int32_t hr, const std::string& member, std::uint32_t argErr,
                            const std::string& unknownParameter) {
  switch (static_cast<std::uint32_t>(hr)) {
    case 0x80020006u:
      if (!unknownParameter.empty())
        return "Unknown parameter name '" + unknownParameter + "' of " + member;
      return "Unknown name '" + member + "'";
    case 0x80020005u:
      return "Type mismatch in " + ordinal(argErr) + " of " + member;
    case 0x8002000Au:
      return "Overflow in " + ordinal(argErr) + " of " + member;
    case 0x8002000Eu:
      return "Wrong number of arguments for " + member;
    case 0x80020003u:
      return "Member not found: " + member + " cannot be used this way";
    case 0x80020004u:
      return "Parameter not found in " + member;
    case 0x8002000Fu:
      return "Missing value for " + member;
    case 0x80070057u:
      return "Invalid argument for " + member;
    default:
      return "Call of " + member + " failed";
  }
}

}  // namespace

ScriptSession::ScriptSession(portable::ClientRuntime& runtime,
                             platform::HeadlessPaddleViewFactory& paddles)
    : runtime_(runtime), paddles_(paddles) {}

ScriptSession::~ScriptSession() = default;

Outcome ScriptSession::failure(std::int32_t code, const std::string& message) {
  Outcome o;
  o.lines.push_back(errorLine(code, kClientSource, message));
  return o;
}

bool ScriptSession::driver(Unknown& object, Outcome& failed) {
  if (driverReleased_) {
    failed = failure(status::kInvalidArg, "The driver object $0 was released");
    return false;
  }
  if (!driver_) {
    ComRef<IDispatch> created;
    const std::int32_t hr = runtime_.createObject(kDriverProgId, created);
    if (status::failed(hr)) {
      std::string why = runtime_.lastLoadError();
      failed = failure(hr, std::string("Cannot create ") + kDriverProgId +
                               (why.empty() ? "" : " (" + why + ")"));
      return false;
    }
    driver_ = identityOf(created.get());
  }
  object = driver_;
  return true;
}

bool ScriptSession::objectOf(int handle, Unknown& object, Outcome& failed) {
  if (handle == kDriverObject)
    return driver(object, failed);
  const auto index = static_cast<std::size_t>(handle - 1);
  if (index >= objects_.size() || !objects_[index]) {
    failed = failure(status::kInvalidArg, "No object $" + std::to_string(handle));
    return false;
  }
  object = objects_[index];
  return true;
}

int ScriptSession::handleOf(IUnknown* object) {
  Unknown identity = identityOf(object);
  if (driver_ && identity.get() == driver_.get())
    return kDriverObject;
  for (std::size_t i = 0; i < objects_.size(); ++i)
    if (objects_[i].get() == identity.get())
      return static_cast<int>(i + 1);
  objects_.push_back(identity);
  return static_cast<int>(objects_.size());
}

std::string ScriptSession::formatValue(const Variant& value) {
  switch (value.type()) {
    case VarType::Empty:
      return "empty";
    case VarType::Bool:
      return value.boolValue() ? "true" : "false";
    case VarType::Int32:
      return std::to_string(value.int32Value());
    case VarType::Double:
    case VarType::Date:
      return formatDouble(value.doubleValue());
    case VarType::Text:
      return quoteText(value.text());
    case VarType::Dispatch:
    case VarType::Unknown:
      if (!value.unknown())
        return "nothing";
      return "$" + std::to_string(handleOf(value.unknown()));
  }
  return "empty";
}

bool ScriptSession::toVariant(const Literal& literal, Variant& value, Outcome& failed) {
  switch (literal.kind) {
    case Literal::Kind::Int32:
      value = Variant::ofInt32(literal.int32);
      return true;
    case Literal::Kind::Double:
      value = Variant::ofDouble(literal.number);
      return true;
    case Literal::Kind::Text:
      value = Variant::ofText(literal.text);
      return true;
    case Literal::Kind::Bool:
      value = Variant::ofBool(literal.boolean);
      return true;
    case Literal::Kind::Empty:
      value = Variant();
      return true;
    case Literal::Kind::Object: {
      Unknown object;
      if (!objectOf(literal.object, object, failed))
        return false;
      value = Variant::ofDispatch(dispatchOf(object.get()).get());
      return true;
    }
  }
  return false;
}

Outcome ScriptSession::member(const Command& command) {
  Outcome o;
  Unknown object;
  if (!objectOf(command.object, object, o))
    return o;
  ComRef<IDispatch> dispatch = dispatchOf(object.get());
  if (!dispatch)
    return failure(status::kNoInterface,
                   "$" + std::to_string(command.object) + " cannot be called by name");
  std::vector<Variant> positional;
  std::vector<portable::NamedArgument> named;
  for (const Argument& a : command.args) {
    Variant v;
    if (!toVariant(a.value, v, o))
      return o;
    if (a.name.empty())
      positional.push_back(std::move(v));
    else
      named.push_back({a.name, std::move(v)});
  }
  std::uint16_t flags = portable::kDispatchPropertyGet;
  if (command.kind == CommandKind::Put)
    flags = portable::kDispatchPropertyPut;
  else if (command.kind == CommandKind::Call)
    flags = portable::kDispatchMethod | portable::kDispatchPropertyGet;
  portable::CallResult r =
      portable::invokeByName(*dispatch.get(), command.member, flags, positional, named);
  if (r.hr == status::kDispException) {
    o.lines.push_back(errorLine(r.error.scode, r.error.source, r.error.description));
    return o;
  }
  if (status::failed(r.hr)) {
    o.lines.push_back(errorLine(
        r.hr, kClientSource, dispatchMessage(r.hr, command.member, r.argErr, r.unknownParameter)));
    return o;
  }
  o.ok = true;
  const server::MemberInfo* info =
      describeMember(*object.get(), command.member, command.kind == CommandKind::Call);
  const bool hasResult =
      command.kind != CommandKind::Put &&
      (!info || info->result.kind != server::TypeKind::Void || r.value.type() != VarType::Empty);
  o.lines.push_back(hasResult ? "ok " + formatValue(r.value) : "ok");
  o.value = std::move(r.value);
  return o;
}

Outcome ScriptSession::enumerate(const Command& command) {
  Outcome o;
  Unknown object;
  if (!objectOf(command.object, object, o))
    return o;
  ComRef<IDispatch> dispatch = dispatchOf(object.get());
  if (!dispatch)
    return failure(status::kNoInterface,
                   "$" + std::to_string(command.object) + " cannot be enumerated");
  portable::DispParams none;
  Variant enumVariant;
  portable::ExcepInfo excep;
  const std::int32_t hr = dispatch->Invoke(
      server::kDispIdNewEnum, portable::kDispatchMethod | portable::kDispatchPropertyGet, &none,
      &enumVariant, &excep, nullptr);
  if (hr == status::kDispException)
    return o.lines.push_back(errorLine(excep.scode, excep.source, excep.description)), o;
  if (status::failed(hr))
    return failure(hr, "$" + std::to_string(command.object) + " cannot be enumerated");
  ComRef<portable::IEnumVariant> enumerator;
  if (!enumVariant.unknown() ||
      enumVariant.unknown()->QueryInterface(
          portable::kIidIEnumVariant, reinterpret_cast<void**>(enumerator.out())) != status::kOk)
    return failure(status::kNoInterface, "_NewEnum gave no enumerator");

  std::uint32_t count = 0;
  if (command.count) {
    count = *command.count;
  } else {
    // Everything left: what is left is never more than Count, so one Next(Count) takes it.
    portable::CallResult size =
        portable::invokeByName(*dispatch.get(), "Count", portable::kDispatchPropertyGet, {});
    if (status::failed(size.hr) || size.value.type() != VarType::Int32 ||
        size.value.int32Value() < 0 || size.value.int32Value() > kMaxEnumCount)
      return failure(status::failed(size.hr) ? size.hr : status::kUnexpected,
                     "$" + std::to_string(command.object) + " has no Count to enumerate");
    count = static_cast<std::uint32_t>(size.value.int32Value());
  }
  std::vector<Variant> items(count);
  std::uint32_t total = 0;
  const std::int32_t result = enumerator->Next(count, items.data(), &total);
  for (std::uint32_t i = 0; i < total && i < count; ++i)
    o.lines.push_back("item " + formatValue(items[i]));
  if (status::failed(result)) {
    o.lines.push_back(errorLine(result, kClientSource,
                                "Next failed after " + std::to_string(total) + " elements"));
    return o;
  }
  o.ok = true;
  o.lines.push_back(std::string("ok ") + (result == status::kOk ? "S_OK " : "S_FALSE ") +
                    std::to_string(total));
  return o;
}

Outcome ScriptSession::release(const Command& command) {
  Outcome o;
  if (command.object == kDriverObject) {
    if (driverReleased_)
      return failure(status::kInvalidArg, "The driver object $0 was released");
    driver_.reset();
    driverReleased_ = true;
  } else {
    Unknown object;
    if (!objectOf(command.object, object, o))
      return o;
    objects_[static_cast<std::size_t>(command.object - 1)].reset();
  }
  o.ok = true;
  o.lines.push_back("ok");
  return o;
}

Outcome ScriptSession::paddle(const Command& command) {
  Outcome o;
  platform::HeadlessPaddleView* view = paddles_.current();
  if (command.kind == CommandKind::Paddle) {
    o.ok = true;
    if (!view) {
      o.lines.push_back("ok none");
      return o;
    }
    for (const platform::PaddleControlState& c : view->controls())
      o.lines.push_back(platform::describePaddleControl(c));
    o.lines.push_back("ok");
    return o;
  }
  if (!view)
    return failure(status::kFail, "The hand paddle is not shown");
  if (!command.control.empty()) {
    bool known = false;
    for (const platform::PaddleControlState& c : view->controls())
      known = known || server::equalsIgnoreCase(c.name, command.control);
    if (!known)
      return failure(status::kInvalidArg, "No control named " + command.control);
  }
  switch (command.kind) {
    case CommandKind::MouseDown:
      view->mouseDown(command.control);
      break;
    case CommandKind::MouseUp:
      view->mouseUp(command.control);
      break;
    case CommandKind::Click:
      view->click(command.control);
      break;
    case CommandKind::Slider:
      view->moveSlider(command.position);
      break;
    case CommandKind::CloseBox:
      view->pressCloseBox();
      break;
    default:
      break;
  }
  o.ok = true;
  o.lines.push_back("ok");
  return o;
}

Outcome ScriptSession::execute(const Command& command) {
  try {
    switch (command.kind) {
      case CommandKind::Get:
      case CommandKind::Put:
      case CommandKind::Call:
        return member(command);
      case CommandKind::Enum:
        return enumerate(command);
      case CommandKind::Release:
        return release(command);
      case CommandKind::Paddle:
      case CommandKind::MouseDown:
      case CommandKind::MouseUp:
      case CommandKind::Click:
      case CommandKind::Slider:
      case CommandKind::CloseBox:
        return paddle(command);
      case CommandKind::CanUnload: {
        Outcome o;
        o.ok = true;
        o.lines.push_back(runtime_.canUnloadNow() == status::kOk ? "ok S_OK" : "ok S_FALSE");
        return o;
      }
      case CommandKind::Sleep: {
        std::this_thread::sleep_for(std::chrono::duration<double>(command.seconds));
        Outcome o;
        o.ok = true;
        o.lines.push_back("ok");
        return o;
      }
    }
  } catch (const std::exception& e) {
    return failure(status::kUnexpected, e.what());
  }
  return failure(status::kUnexpected, "Unknown command");
}

}  // namespace tramox::tools
