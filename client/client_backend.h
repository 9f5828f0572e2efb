#pragma once
// What a client of the driver asks of an automation layer. The command-line client's
// language, session and tour are written once over this; the portable runtime (POSIX) and
// real COM (Windows) each implement it, so both give the same answers to the same calls.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/failure_reason.h"
#include "platform/clock.h"
#include "platform/message_windows.h"
#include "platform/paddle_view.h"
#include "server/guid.h"
#include "server/late_call_result.h"

namespace tramox::client {

inline constexpr const char* kDriverProgId = "TRAMOX.Telescope";

// An object the client holds one reference to; the reference goes with the last copy.
class ClientObject {
 public:
  virtual ~ClientObject() = default;
  // The object's identity (its IUnknown): the same object handed over twice gets one $N.
  virtual const void* identity() const = 0;
};
using ObjectRef = std::shared_ptr<ClientObject>;

struct Value {
  enum class Kind { Empty, Bool, Int32, Double, Date, Text, Object } kind = Kind::Empty;
  bool boolean = false;
  std::int32_t int32 = 0;
  double number = 0.0;  // Double and Date
  std::string text;
  ObjectRef object;  // Object; null for Nothing

  static Value ofBool(bool value);
  static Value ofInt32(std::int32_t value);
  static Value ofDouble(double value);
  static Value ofDate(double value);  // automation days, as number holds them
  static Value ofText(std::string value);

  // The value as a number (booleans 0 or 1); 0 for anything that is not one.
  double asNumber() const;
};

enum class CallKind { Get, Put, Call };

// Invoke's flags for a call of that kind: Call tries the method, then the property get.
std::uint16_t dispatchFlags(CallKind kind);

struct NamedValue {
  std::string name;
  Value value;
};

// The member's own failure is result.error when hr is DISP_E_EXCEPTION; its reason says what
// it means.
using CallResult = server::LateCallResult<Value>;

class IClientBackend {
 public:
  virtual ~IClientBackend() = default;

  // Creates "TRAMOX.Telescope"; on failure, why may hold the loader's reason.
  virtual std::int32_t createDriver(ObjectRef& driver, std::string& why) = 0;
  // GetIDsOfNames then Invoke: Get as property get, Put as property put of the one positional
  // value, Call as method or property get.
  virtual CallResult invoke(ClientObject& object, const std::string& member, CallKind kind,
                            const std::vector<Value>& positional,
                            const std::vector<NamedValue>& named) = 0;
  // _NewEnum: value.object is the enumerator, null when the answer is no IEnumVARIANT.
  virtual CallResult newEnum(ClientObject& object) = 0;
  // One IEnumVARIANT::Next of count elements.
  virtual std::int32_t next(ClientObject& enumerator, std::uint32_t count,
                            std::vector<Value>& items) = 0;
  // Whether the object answers to that interface (member types come from the member tables).
  virtual bool supports(ClientObject& object, const server::Guid& iid) = 0;
  virtual std::int32_t canUnloadNow() = 0;

  // The paddle the user would see, its controls in creation order; nullopt when none.
  virtual std::optional<std::vector<platform::PaddleControlState>> paddleControls() = 0;
  // The paddle's own event sink, as the window's controls call it (control names as the
  // paddle spells them); nullptr when there is no paddle. Valid until the next call.
  virtual platform::IPaddleEvents* paddleEvents() = 0;

  // Message lines shown since the last call that were not printed at once.
  virtual std::vector<std::string> takeMessages() = 0;
  // Waits, letting the module's windows and timers run meanwhile.
  virtual void wait(double seconds) = 0;

  virtual std::int32_t registerModule(const std::string& path) = 0;
  virtual std::int32_t unregisterModule(const std::string& path) = 0;
  // Whether "TRAMOX.Telescope" is registered with a module file that exists; throws
  // std::exception when the registrations cannot be read.
  virtual bool driverRegistered() = 0;
  virtual std::string lastLoadError() const = 0;
};

// Registers modulePath when "TRAMOX.Telescope" is not registered, or its registered module
// file is gone. False (with the reason) when registration fails.
bool ensureRegistered(IClientBackend& backend, const std::string& modulePath, std::string& why);

// The platform's backend. Reads the environment as it is at this moment: set it first.
// lentClock, when given, replaces the driver's clock (the portable runtime lends it to the
// module; a COM module keeps the platform's own).
// lentMessages, when given, shows the driver's message windows instead of the console (the
// portable runtime lends it to the module; a COM module shows its own).
std::unique_ptr<IClientBackend> makeClientBackend(
    platform::IClock* lentClock = nullptr, platform::IMessageWindows* lentMessages = nullptr);

// The module and the simulated controller built with the client (empty when not built).
std::string defaultModulePath();
std::string simulatorPath();

}  // namespace tramox::client
