#include "tools/command_help.h"

#include <algorithm>

#include "tools/closest_name.h"

namespace tramox::tools {
namespace {

constexpr CommandHelp kCommands[] = {
    {"get", "get [$N.]NAME [ARG ...]", "read a property (arguments for indexed ones)"},
    {"put", "put [$N.]NAME VALUE", "write a property"},
    {"call", "call [$N.]NAME [ARG ...]", "call a method; Name:=value passes by name"},
    {"enum", "enum $N [COUNT]", "list a collection's elements (default: all that are left)"},
    {"release", "release $N", "drop the client's reference to an object"},
    {"paddle", "paddle", "show the hand paddle's controls"},
    {"mousedown", "mousedown CONTROL", "press a paddle button"},
    {"mouseup", "mouseup CONTROL", "release a paddle button"},
    {"click", "click CONTROL", "click a paddle control"},
    {"slider", "slider POSITION", "move the paddle's speed slider"},
    {"closebox", "closebox", "close the paddle window"},
    {"canunload", "canunload", "what DllCanUnloadNow answers"},
    {"sleep", "sleep SECONDS", "wait, the driver's windows and timers still running"},
    {"help", "help [NAME]", "this list, or a command, member or enumeration", true},
    {"quit", "quit", "leave the shell (also exit or end of input)", true},
    {"exit", "exit", "leave the shell", true},
};

std::string typeName(const server::TypeRef& type) {
  switch (type.kind) {
    case server::TypeKind::Void:
      return "nothing";
    case server::TypeKind::Double:
      return "Double";
    case server::TypeKind::Bool:
      return "Boolean";
    case server::TypeKind::Text:
      return "String";
    case server::TypeKind::Date:
      return "Date";
    case server::TypeKind::Int32:
      return "Long";
    case server::TypeKind::Variant:
      return "Variant";
    case server::TypeKind::Enum:
    case server::TypeKind::Interface:
      return std::string(type.name);
    case server::TypeKind::Dispatch:
      return "Object";
    case server::TypeKind::Unknown:
      return "IUnknown";
  }
  return "?";
}

// method ITelescope.MoveAxis(Axe As TelescopeAxes, Rate As Double)
// property get ITelescope.SiteLatitude As Double
// property put ITelescope.SiteLatitude = Double
std::string memberLine(const server::InterfaceInfo& iface, const server::MemberInfo& member) {
  const bool isPut = member.kind == server::MemberKind::PropertyPut;
  std::string line = member.kind == server::MemberKind::Method ? "method "
                     : isPut                                   ? "property put "
                                                               : "property get ";
  line += std::string(iface.name) + "." + std::string(member.name);
  if (isPut) {
    return line + " = " + typeName(member.params[0].type);
  }
  if (member.paramCount > 0 || member.kind == server::MemberKind::Method) {
    line += "(";
    for (std::size_t i = 0; i < member.paramCount; ++i) {
      line += (i ? ", " : "") + std::string(member.params[i].name) + " As " +
              typeName(member.params[i].type);
    }
    line += ")";
  }
  if (member.result.kind != server::TypeKind::Void) {
    line += " As " + typeName(member.result);
  }
  return line;
}

void addOnce(std::vector<std::string_view>& names, std::string_view name) {
  if (std::find(names.begin(), names.end(), name) == names.end()) {
    names.push_back(name);
  }
}

}  // namespace

std::span<const CommandHelp> commandHelp() {
  return kCommands;
}

std::vector<std::string_view> commandNames(bool withShellOnly) {
  std::vector<std::string_view> names;
  for (const CommandHelp& c : kCommands) {
    if (withShellOnly || !c.shellOnly) {
      names.push_back(c.name);
    }
  }
  return names;
}

std::vector<std::string> helpLines() {
  std::vector<std::string> lines;
  for (const CommandHelp& c : kCommands) {
    std::string line(c.usage);
    line.resize(std::max<std::size_t>(line.size() + 2, 28), ' ');
    lines.push_back(line + std::string(c.summary));
  }
  lines.push_back("help NAME also describes a member (get, put, call) or an enumeration.");
  return lines;
}

std::vector<std::string> helpLines(std::string_view name) {
  std::vector<std::string> lines;
  for (const CommandHelp& c : kCommands) {
    if (server::equalsIgnoreCase(c.name, name)) {
      lines.push_back(std::string(c.usage) + "  " + std::string(c.summary));
    }
  }
  for (const server::ClassInfo& cls : server::classes()) {
    for (const server::MemberInfo& m : cls.defaultInterface->members) {
      if (!m.hidden && server::equalsIgnoreCase(m.name, name)) {
        lines.push_back(memberLine(*cls.defaultInterface, m));
      }
    }
  }
  for (const server::EnumInfo& e : server::enumerations()) {
    if (server::equalsIgnoreCase(e.name, name)) {
      std::string line = "enumeration " + std::string(e.name) + ":";
      for (const server::EnumMemberInfo& m : e.members) {
        line += " " + std::string(m.name) + "=" + std::to_string(m.value);
      }
      lines.push_back(line);
    }
    for (const server::EnumMemberInfo& m : e.members) {
      if (server::equalsIgnoreCase(m.name, name)) {
        lines.push_back(std::string(m.name) + " = " + std::to_string(m.value) + " (" +
                        std::string(e.name) + ")");
      }
    }
  }
  return lines;
}

std::vector<std::string_view> memberNames(const server::InterfaceInfo& iface) {
  std::vector<std::string_view> names;
  for (const server::MemberInfo& m : iface.members) {
    if (!m.hidden) {
      addOnce(names, m.name);
    }
  }
  return names;
}

std::vector<std::string_view> helpTopics() {
  std::vector<std::string_view> names = commandNames(true);
  for (const server::ClassInfo& cls : server::classes()) {
    for (std::string_view member : memberNames(*cls.defaultInterface)) {
      addOnce(names, member);
    }
  }
  for (const server::EnumInfo& e : server::enumerations()) {
    names.push_back(e.name);
    for (const server::EnumMemberInfo& m : e.members) {
      names.push_back(m.name);
    }
  }
  return names;
}

std::string didYouMean(std::string_view word, std::span<const std::string_view> candidates) {
  const auto nearest = closestName(word, candidates);
  return nearest ? "did you mean '" + std::string(*nearest) + "'?" : "";
}

}  // namespace tramox::tools
