#pragma once
// Runs commands of the tramox language against the driver object, late-bound through the
// automation runtime as any script host would, and produces their output lines.
#include <string>
#include <vector>

#include "platform/posix/headless_paddle_view.h"
#include "server/portable/client_runtime.h"
#include "tools/script_parser.h"

namespace tramox::tools {

inline constexpr const char* kDriverProgId = "TRAMOX.Telescope";
// Source of the errors the client itself reports (bad handle, failed late binding).
inline constexpr const char* kClientSource = "tramox";

struct Outcome {
  std::vector<std::string> lines;  // item/control lines, then the one result line
  bool ok = false;
  server::portable::Variant value;  // the result of get and call
};

class ScriptSession {
 public:
  ScriptSession(server::portable::ClientRuntime& runtime,
                platform::HeadlessPaddleViewFactory& paddles);
  ~ScriptSession();
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  Outcome execute(const Command& command);
  // Formats a value as the result lines do (objects as $N, numbered on first sight).
  std::string formatValue(const server::portable::Variant& value);

 private:
  using Unknown = server::portable::ComRef<server::portable::IUnknown>;

  Outcome member(const Command& command);
  Outcome enumerate(const Command& command);
  Outcome release(const Command& command);
  Outcome paddle(const Command& command);
  Outcome failure(std::int32_t code, const std::string& message);

  // The driver object is made at its first use, so that the loader's messages appear
  // before the result of the command that caused them.
  bool driver(Unknown& object, Outcome& failed);
  bool objectOf(int handle, Unknown& object, Outcome& failed);
  bool toVariant(const Literal& literal, server::portable::Variant& value, Outcome& failed);
  int handleOf(server::portable::IUnknown* object);

  server::portable::ClientRuntime& runtime_;
  platform::HeadlessPaddleViewFactory& paddles_;
  Unknown driver_;
  bool driverReleased_ = false;
  std::vector<Unknown> objects_;  // $1, $2, ... (identity references; empty once released)
};

}  // namespace tramox::tools
