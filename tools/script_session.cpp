#include "tools/script_session.h"

#include "client/controller_load_failure.h"
#include "client/value_format.h"
#include "server/member_table.h"
#include "server/status_codes.h"
#include "tools/command_help.h"
#include "tools/paddle_lines.h"

namespace tramox::tools {

namespace status = server::status;

namespace {

// The interface the object answers to, as a client reading the type library would find it.
const server::InterfaceInfo* interfaceOf(IClientBackend& backend, ClientObject& object) {
  for (const server::ClassInfo& cls : server::classes()) {
    if (backend.supports(object, cls.defaultInterface->iid)) {
      return cls.defaultInterface;
    }
  }
  return nullptr;
}

// The user's action on the paddle, the control as the paddle spells it.
void playInto(platform::IPaddleEvents& paddle, const Command& command, const std::string& control) {
  switch (command.kind) {
    case CommandKind::MouseDown:
      return paddle.mouseDown(control);
    case CommandKind::MouseUp:
      return paddle.mouseUp(control);
    case CommandKind::Slider:
      return paddle.sliderMoved(command.position);
    case CommandKind::CloseBox:
      return paddle.closeBox();
    default:
      return paddle.click(control);
  }
}

// What the object's type information says of a member.
const server::MemberInfo* describeMember(IClientBackend& backend, ClientObject& object,
                                         const std::string& name, bool preferMethod) {
  const server::InterfaceInfo* iface = interfaceOf(backend, object);
  if (!iface) {
    return nullptr;
  }
  const server::MemberInfo* getter = nullptr;
  for (const server::MemberInfo& m : iface->members) {
    if (!server::equalsIgnoreCase(m.name, name)) {
      continue;
    }
    if (preferMethod && m.kind == server::MemberKind::Method) {
      return &m;
    }
    if (m.kind == server::MemberKind::PropertyGet) {
      getter = &m;
    }
  }
  return getter;
}

std::string ordinal(std::uint32_t index) {
  return "argument " + std::to_string(index + 1);
}

// The client's own words for the automation layer's refusals.
std::string dispatchMessage(std::int32_t hr, const std::string& member, std::uint32_t argErr,
                            const std::string& unknownParameter) {
  switch (static_cast<std::uint32_t>(hr)) {
    case 0x80020006u:
      if (!unknownParameter.empty()) {
        return "Unknown parameter name '" + unknownParameter + "' of " + member;
      }
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

void printLines(const Outcome& outcome, std::FILE* out) {
  for (const std::string& line : outcome.lines) {
    std::fputs(line.c_str(), out);
    std::fputc('\n', out);
  }
  std::fflush(out);
}

ScriptSession::ScriptSession(IClientBackend& backend) : backend_(backend) {}

ScriptSession::~ScriptSession() = default;

Outcome ScriptSession::failure(std::int32_t code, const std::string& message) {
  Outcome o;
  o.lines.push_back(errorLine(code, kClientSource, message));
  return o;
}

bool ScriptSession::driver(ObjectRef& object, Outcome& failed) {
  if (driverReleased_) {
    failed = failure(status::kInvalidArg, "The driver object $0 was released");
    return false;
  }
  if (!driver_) {
    std::string why;
    const std::int32_t hr = backend_.createDriver(driver_, why);
    if (status::failed(hr) || !driver_) {
      driver_.reset();
      failed = failure(
          status::failed(hr) ? hr : status::kUnexpected,
          std::string("Cannot create ") + kDriverProgId + (why.empty() ? "" : " (" + why + ")"));
      return false;
    }
  }
  object = driver_;
  return true;
}

bool ScriptSession::objectOf(int handle, ObjectRef& object, Outcome& failed) {
  if (handle == kDriverObject) {
    return driver(object, failed);
  }
  const auto found = objects_.find(handle);
  if (found == objects_.end()) {
    failed = failure(status::kInvalidArg, "No object $" + std::to_string(handle));
    return false;
  }
  object = found->second;
  return true;
}

int ScriptSession::handleOf(const ObjectRef& object) {
  if (driver_ && object->identity() == driver_->identity()) {
    return kDriverObject;
  }
  for (const auto& [handle, held] : objects_) {
    if (held->identity() == object->identity()) {
      return handle;
    }
  }
  objects_.emplace(++lastHandle_, object);
  return lastHandle_;
}

std::vector<LiveObject> ScriptSession::liveObjects() {
  std::vector<LiveObject> live;
  // The driver's interface is known before the driver is made.
  if (!driverReleased_) {
    live.push_back({kDriverObject, &server::telescopeInterface()});
  }
  for (const auto& [handle, object] : objects_) {
    live.push_back({handle, interfaceOf(backend_, *object)});
  }
  return live;
}

std::vector<std::string> ScriptSession::paddleControlNames() {
  std::vector<std::string> names;
  if (const auto controls = backend_.paddleControls()) {
    for (const platform::PaddleControlState& c : *controls) {
      names.push_back(c.name);
    }
  }
  return names;
}

std::string ScriptSession::hintFor(ClientObject& object, const std::string& member,
                                   const CallResult& result) {
  const server::InterfaceInfo* iface = interfaceOf(backend_, object);
  if (result.hr != status::kDispUnknownName || !iface) {
    return "";
  }
  if (result.unknownParameter.empty()) {
    return didYouMean(member, memberNames(*iface));
  }
  std::vector<std::string_view> parameters;
  for (const server::MemberInfo& m : iface->members) {
    if (server::equalsIgnoreCase(m.name, member)) {
      for (const server::ParamInfo& p : m.parameters()) {
        parameters.push_back(p.name);
      }
    }
  }
  return didYouMean(result.unknownParameter, parameters);
}

std::string ScriptSession::formatValue(const Value& value) {
  switch (value.kind) {
    case Value::Kind::Empty:
      return "empty";
    case Value::Kind::Bool:
      return value.boolean ? "true" : "false";
    case Value::Kind::Int32:
      return std::to_string(value.int32);
    case Value::Kind::Double:
    case Value::Kind::Date:
      return formatDouble(value.number);
    case Value::Kind::Text:
      return quoteText(value.text);
    case Value::Kind::Object:
      if (!value.object) {
        return "nothing";
      }
      return "$" + std::to_string(handleOf(value.object));
  }
  return "empty";
}

bool ScriptSession::toValue(const Literal& literal, Value& value, Outcome& failed) {
  value = Value();
  switch (literal.kind) {
    case Literal::Kind::Int32:
      value = Value::ofInt32(literal.int32);
      return true;
    case Literal::Kind::Double:
      value = Value::ofDouble(literal.number);
      return true;
    case Literal::Kind::Text:
      value = Value::ofText(literal.text);
      return true;
    case Literal::Kind::Bool:
      value = Value::ofBool(literal.boolean);
      return true;
    case Literal::Kind::Empty:
      return true;
    case Literal::Kind::Object:
      value.kind = Value::Kind::Object;
      return objectOf(literal.object, value.object, failed);
  }
  return false;
}

Outcome ScriptSession::member(const Command& command) {
  Outcome o;
  ObjectRef object;
  if (!objectOf(command.object, object, o)) {
    return o;
  }
  std::vector<Value> positional;
  std::vector<NamedValue> named;
  for (const Argument& a : command.args) {
    Value v;
    if (!toValue(a.value, v, o)) {
      return o;
    }
    if (a.name.empty()) {
      positional.push_back(std::move(v));
    } else {
      named.push_back({a.name, std::move(v)});
    }
  }
  CallKind kind = CallKind::Get;
  if (command.kind == CommandKind::Put) {
    kind = CallKind::Put;
  } else if (command.kind == CommandKind::Call) {
    kind = CallKind::Call;
  }
  CallResult r = backend_.invoke(*object, command.member, kind, positional, named);
  if (r.hr == status::kDispException) {
    o.lines.push_back(errorLine(r.error.scode, r.error.source, r.error.description));
    return o;
  }
  if (r.hr == status::kNoInterface) {
    return failure(r.hr, "$" + std::to_string(command.object) + " cannot be called by name");
  }
  if (status::failed(r.hr)) {
    o.lines.push_back(errorLine(
        r.hr, kClientSource, dispatchMessage(r.hr, command.member, r.argErr, r.unknownParameter)));
    o.hint = hintFor(*object, command.member, r);
    return o;
  }
  o.ok = true;
  const server::MemberInfo* info =
      describeMember(backend_, *object, command.member, command.kind == CommandKind::Call);
  const bool hasResult =
      command.kind != CommandKind::Put &&
      (!info || info->result.kind != server::TypeKind::Void || r.value.kind != Value::Kind::Empty);
  o.lines.push_back(hasResult ? "ok " + formatValue(r.value) : "ok");
  o.value = std::move(r.value);
  return o;
}

Outcome ScriptSession::enumerate(const Command& command) {
  Outcome o;
  ObjectRef object;
  if (!objectOf(command.object, object, o)) {
    return o;
  }
  const std::string handle = "$" + std::to_string(command.object);
  CallResult made = backend_.newEnum(*object);
  if (made.hr == status::kDispException) {
    return o.lines.push_back(
               errorLine(made.error.scode, made.error.source, made.error.description)),
           o;
  }
  if (status::failed(made.hr)) {
    return failure(made.hr, handle + " cannot be enumerated");
  }
  if (!made.value.object) {
    return failure(status::kNoInterface, "_NewEnum gave no enumerator");
  }

  std::uint32_t count = 0;
  if (command.count) {
    count = *command.count;
  } else {
    // Everything left: what is left is never more than Count, so one Next(Count) takes it.
    const CallResult size = backend_.invoke(*object, "Count", CallKind::Get, {}, {});
    if (status::failed(size.hr) || size.value.kind != Value::Kind::Int32 || size.value.int32 < 0 ||
        size.value.int32 > kMaxEnumCount) {
      return failure(status::failed(size.hr) ? size.hr : status::kUnexpected,
                     handle + " has no Count to enumerate");
    }
    count = static_cast<std::uint32_t>(size.value.int32);
  }
  std::vector<Value> items;
  const std::int32_t result = backend_.next(*made.value.object, count, items);
  for (const Value& item : items) {
    o.lines.push_back("item " + formatValue(item));
  }
  if (status::failed(result)) {
    o.lines.push_back(errorLine(result, kClientSource,
                                "Next failed after " + std::to_string(items.size()) + " elements"));
    return o;
  }
  o.ok = true;
  o.lines.push_back(std::string("ok ") + (result == status::kOk ? "S_OK " : "S_FALSE ") +
                    std::to_string(items.size()));
  return o;
}

Outcome ScriptSession::release(const Command& command) {
  Outcome o;
  if (command.object == kDriverObject) {
    if (driverReleased_) {
      return failure(status::kInvalidArg, "The driver object $0 was released");
    }
    driver_.reset();
    driverReleased_ = true;
  } else {
    ObjectRef object;
    if (!objectOf(command.object, object, o)) {
      return o;
    }
    objects_.erase(command.object);
  }
  o.ok = true;
  o.lines.push_back("ok");
  return o;
}

Outcome ScriptSession::paddle(const Command& command) {
  Outcome o;
  const auto controls = backend_.paddleControls();
  if (command.kind == CommandKind::Paddle) {
    o.ok = true;
    if (!controls) {
      o.lines.push_back("ok none");
      return o;
    }
    for (const platform::PaddleControlState& c : *controls) {
      o.lines.push_back(paddleControlLine(c));
    }
    o.lines.push_back("ok");
    return o;
  }
  if (!controls) {
    return failure(status::kFail, "The hand paddle is not shown");
  }
  std::string control;
  if (!command.control.empty()) {
    for (const platform::PaddleControlState& c : *controls) {
      if (server::equalsIgnoreCase(c.name, command.control)) {
        control = c.name;
      }
    }
    if (control.empty()) {
      return failure(status::kInvalidArg, "No control named " + command.control);
    }
  }
  if (platform::IPaddleEvents* paddle = backend_.paddleEvents()) {
    playInto(*paddle, command, control);
  }
  o.ok = true;
  o.lines.push_back("ok");
  return o;
}

Outcome ScriptSession::run(const Command& command) {
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
        o.lines.push_back(backend_.canUnloadNow() == status::kOk ? "ok S_OK" : "ok S_FALSE");
        return o;
      }
      case CommandKind::Sleep: {
        backend_.wait(command.seconds);
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

Outcome ScriptSession::execute(const Command& command) {
  // Whatever the module showed while the command ran comes before its result lines.
  std::vector<std::string> before = backend_.takeMessages();
  Outcome o = run(command);
  std::vector<std::string> shown = backend_.takeMessages();
  before.insert(before.end(), shown.begin(), shown.end());
  for (const std::string& line : before) {
    explainMessageLine(line);
  }
  if (!before.empty()) {
    o.lines.insert(o.lines.begin(), before.begin(), before.end());
  }
  return o;
}

}  // namespace tramox::tools
