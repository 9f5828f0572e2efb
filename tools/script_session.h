#pragma once
// Runs commands of the tramox language against the driver object, late-bound through the
// automation layer as any script host would, and produces their output lines.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "client/client_backend.h"
#include "server/member_table.h"
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
  // For the person at the shell, never printed by scripts: a "did you mean" for a name the
  // object did not know.
  std::string hint;
};

// An object the session holds, for completion: its handle and its interface (null when the
// object answers to none the client knows).
struct LiveObject {
  int handle = 0;
  const server::InterfaceInfo* iface = nullptr;
};

// Writes the outcome's lines, each on its own line, and flushes.
void printLines(const Outcome& outcome, std::FILE* out);

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
  // $0 (unless released) and every $N not released yet, in handle order.
  std::vector<LiveObject> liveObjects();
  // The paddle's control names, empty when no paddle is shown.
  std::vector<std::string> paddleControlNames();

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
  std::string hintFor(ClientObject& object, const std::string& member, const CallResult& result);

  IClientBackend& backend_;
  ObjectRef driver_;
  bool driverReleased_ = false;
  // $1, $2, ...: a released handle is dropped and its number never given again, so that a
  // stale $N in a script fails rather than reaching another object.
  std::map<int, ObjectRef> objects_;
  int lastHandle_ = 0;
};

}  // namespace tramox::tools
