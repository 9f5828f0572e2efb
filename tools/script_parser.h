#pragma once
// The tramox command language: one command per line, parsed without touching the driver, so
// a script with a bad line is refused before any of it runs.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramox::tools {

enum class CommandKind {
  Get,        // get NAME [ARG ...] / get $N.NAME [ARG ...]
  Put,        // put NAME VALUE
  Call,       // call NAME [ARG ...]
  Enum,       // enum $N [COUNT]
  Release,    // release $N
  Paddle,     // paddle
  MouseDown,  // mousedown CONTROL
  MouseUp,    // mouseup CONTROL
  Click,      // click CONTROL
  Slider,     // slider POSITION
  CloseBox,   // closebox
  CanUnload,  // canunload
  Sleep,      // sleep SECONDS
};

// A literal as written: 5 is an integer, 5.5 a double, "5.5" a text, true/false booleans,
// an enumeration member's name its value, $N an object, empty the empty variant; any other
// bare word is a text.
struct Literal {
  enum class Kind { Int32, Double, Text, Bool, Object, Empty } kind = Kind::Empty;
  std::int32_t int32 = 0;
  double number = 0.0;
  std::string text;
  bool boolean = false;
  int object = 0;  // $N
};

struct Argument {
  std::string name;  // Name:=value passes the argument by parameter name
  Literal value;
};

inline constexpr int kDriverObject = 0;  // $0, or no $N at all

struct Command {
  CommandKind kind = CommandKind::Get;
  int object = kDriverObject;
  std::string member;
  std::vector<Argument> args;
  std::optional<std::uint32_t> count;  // enum
  std::string control;                 // mousedown, mouseup, click
  std::int32_t position = 0;           // slider
  double seconds = 0.0;                // sleep
};

struct ParsedLine {
  std::optional<Command> command;  // none for a blank or comment line
  std::string error;               // not empty when the line cannot be parsed
};

ParsedLine parseLine(std::string_view line);

// The first line of a script may start with the UTF-8 byte order mark that some editors
// write; it is not part of the command.
std::string_view withoutByteOrderMark(std::string_view firstLine);

// The most elements one enum may ask for: Next needs room for every one of them.
inline constexpr std::int32_t kMaxEnumCount = 1000000;

// The longest sleep a script may ask for, so that a typo cannot hang a run for days.
inline constexpr double kMaxSleepSeconds = 3600.0;

}  // namespace tramox::tools
