#pragma once
// Runs commands of the tramox language against the driver object, late-bound through the
// automation layer as any script host would, and produces their output lines.
#include <string>
#include <vector>

#include "client/client_backend.h"
#include "tools/script_parser.h"

namespace tramox::tools {

// The program is a client of the driver: it speaks the client library's values and backend.
using namespace client;

// Source of the errors the client itself reports (bad handle, failed late binding).
inline constexpr const char* kClientSource = "tramox";

struct Outcome {
  std::vector<std::string> lines;  // message, item and control lines, then the result line
  bool ok = false;
  Value value;  // the result of get and call
};

class ScriptSession {
 public:
  explicit ScriptSession(IClientBackend& backend);
  ~ScriptSession();
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  Outcome execute(const Command& command);
  // Formats a value as the result lines do (objects as $N, numbered on first sight).
  std::string formatValue(const Value& value);
  // Waits between commands, the module's windows and timers still running.
  void wait(double seconds) { backend_.wait(seconds); }

 private:
  Outcome run(const Command& command);
  Outcome member(const Command& command);
  Outcome enumerate(const Command& command);
  Outcome release(const Command& command);
  Outcome paddle(const Command& command);
  Outcome failure(std::int32_t code, const std::string& message);

  // The driver object is made at its first use, so that the loader's messages appear
  // before the result of the command that caused them.
  bool driver(ObjectRef& object, Outcome& failed);
  bool objectOf(int handle, ObjectRef& object, Outcome& failed);
  bool toValue(const Literal& literal, Value& value, Outcome& failed);
  int handleOf(const ObjectRef& object);

  IClientBackend& backend_;
  ObjectRef driver_;
  bool driverReleased_ = false;
  std::vector<ObjectRef> objects_;  // $1, $2, ... (empty once released)
};

}  // namespace tramox::tools
