#include "tools/script_parser.h"

#include <charconv>
#include <cmath>

#include "client/value_format.h"
#include "server/decimal_text.h"
#include "server/member_table.h"

namespace tramox::tools {

using client::echoText;
namespace {

struct Token {
  std::string text;
  bool quoted = false;
  bool named = false;  // Name:="text": the name is in `name`, the text in `text`
  std::string name;
};

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Splits on blanks; "..." is one token with \" and \\ escapes.
bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (isBlank(line[i])) {
      ++i;
      continue;
    }
    Token token;
    // A named argument may quote its value: Command:="text".
    while (i < line.size() && !isBlank(line[i])) {
      if (line[i] == '"') {
        if (token.quoted) {
          error = "text must be followed by a blank";
          return false;
        }
        if (!token.text.empty()) {
          if (token.text.size() < 3 || token.text.compare(token.text.size() - 2, 2, ":=") != 0) {
            error = "a text must start a word";
            return false;
          }
          token.named = true;
          token.name = token.text.substr(0, token.text.size() - 2);
          token.text.clear();
        }
        token.quoted = true;
        ++i;
        bool closed = false;
        while (i < line.size()) {
          const char c = line[i++];
          if (c == '"') {
            closed = true;
            break;
          }
          if (c == '\\') {
            if (i >= line.size() || (line[i] != '"' && line[i] != '\\')) {
              error = "unknown escape in text (only \\\" and \\\\)";
              return false;
            }
            token.text += line[i++];
          } else {
            token.text += c;
          }
        }
        if (!closed) {
          error = "unterminated text";
          return false;
        }
        if (i < line.size() && !isBlank(line[i])) {
          error = "text must be followed by a blank";
          return false;
        }
      } else {
        token.text += line[i++];
      }
    }
    tokens.push_back(std::move(token));
  }
  return true;
}

bool isNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isNameChar(char c) {
  return isNameStart(c) || (c >= '0' && c <= '9');
}

bool isName(std::string_view text) {
  if (text.empty() || text.size() > 128 || !isNameStart(text[0])) {
    return false;
  }
  for (char c : text) {
    if (!isNameChar(c)) {
      return false;
    }
  }
  return true;
}

// "$N" with N from 0 to 1000000.
bool parseHandle(std::string_view text, int& handle) {
  if (text.size() < 2 || text[0] != '$' || text.size() > 8) {
    return false;
  }
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0) {
    return false;
  }
  handle = value;
  return true;
}

// NAME or $N.NAME
bool parseTarget(std::string_view text, Command& command, std::string& error) {
  const auto dot = text.find('.');
  if (dot != std::string_view::npos && !text.empty() && text[0] == '$') {
    if (!parseHandle(text.substr(0, dot), command.object)) {
      error = "bad object reference '" + echoText(text.substr(0, dot)) + "'";
      return false;
    }
    text = text.substr(dot + 1);
  }
  if (!isName(text)) {
    error = "bad member name '" + echoText(text) + "'";
    return false;
  }
  command.member = std::string(text);
  return true;
}

const server::EnumMemberInfo* findEnumMember(std::string_view name) {
  for (const server::EnumInfo& e : server::enumerations()) {
    for (const server::EnumMemberInfo& m : e.members) {
      if (server::equalsIgnoreCase(m.name, name)) {
        return &m;
      }
    }
  }
  return nullptr;
}

bool parseLiteral(const Token& token, Literal& literal, std::string& error) {
  const std::string& t = token.text;
  if (token.quoted) {
    literal.kind = Literal::Kind::Text;
    literal.text = t;
    return true;
  }
  if (!t.empty() && t[0] == '$') {
    if (!parseHandle(t, literal.object)) {
      error = "bad object reference '" + echoText(t) + "'";
      return false;
    }
    literal.kind = Literal::Kind::Object;
    return true;
  }
  std::int32_t whole = 0;
  const char* begin = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
  const auto [end, ec] = std::from_chars(begin, t.data() + t.size(), whole);
  if (!t.empty() && ec == std::errc() && end == t.data() + t.size()) {
    literal.kind = Literal::Kind::Int32;
    literal.int32 = whole;
    return true;
  }
  double number = 0.0;
  if (server::parseDecimal(t, number)) {
    if (!std::isfinite(number)) {
      error = "number out of range '" + echoText(t) + "'";
      return false;
    }
    literal.kind = Literal::Kind::Double;
    literal.number = number;
    return true;
  }
  if (server::equalsIgnoreCase(t, "true") || server::equalsIgnoreCase(t, "false")) {
    literal.kind = Literal::Kind::Bool;
    literal.boolean = server::equalsIgnoreCase(t, "true");
    return true;
  }
  if (server::equalsIgnoreCase(t, "empty")) {
    literal.kind = Literal::Kind::Empty;
    return true;
  }
  if (const auto* member = findEnumMember(t)) {
    literal.kind = Literal::Kind::Int32;
    literal.int32 = member->value;
    return true;
  }
  literal.kind = Literal::Kind::Text;
  literal.text = t;
  return true;
}

bool parseArguments(const std::vector<Token>& tokens, std::size_t from, Command& command,
                    std::string& error) {
  for (std::size_t i = from; i < tokens.size(); ++i) {
    Argument argument;
    Token value = tokens[i];
    const auto assign = value.quoted ? std::string::npos : value.text.find(":=");
    if (value.named) {
      argument.name = value.name;
    } else if (assign != std::string::npos) {
      argument.name = value.text.substr(0, assign);
      value.text = value.text.substr(assign + 2);
    }
    if ((value.named || assign != std::string::npos) && !isName(argument.name)) {
      error = "bad parameter name '" + echoText(argument.name) + "'";
      return false;
    }
    if (!argument.name.empty() && value.text.empty() && !value.quoted) {
      error = "no value for parameter '" + echoText(argument.name) + "'";
      return false;
    }
    if (argument.name.empty() && !command.args.empty() && !command.args.back().name.empty()) {
      error = "positional argument after a named one";
      return false;
    }
    if (!parseLiteral(value, argument.value, error)) {
      return false;
    }
    command.args.push_back(std::move(argument));
  }
  return true;
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

bool expectCount(const std::vector<Token>& tokens, std::size_t min, std::size_t max,
                 std::string& error) {
  if (tokens.size() >= min && tokens.size() <= max) {
    return true;
  }
  error = "'" + echoText(tokens[0].text) + "' takes " +
          (min == max ? std::to_string(min - 1)
                      : std::to_string(min - 1) + " to " + std::to_string(max - 1)) +
          " argument" + (max == 2 && min == 2 ? "" : "s");
  return false;
}

}  // namespace

ParsedLine parseLine(std::string_view line) {
  ParsedLine parsed;
  std::size_t first = 0;
  while (first < line.size() && isBlank(line[first])) {
    ++first;
  }
  if (first == line.size() || line[first] == '#') {
    return parsed;
  }

  std::vector<Token> tokens;
  std::string& error = parsed.error;
  if (!tokenize(line, tokens, error)) {
    return parsed;
  }
  if (tokens[0].quoted) {
    error = "a command cannot be a text";
    return parsed;
  }
  Command command;
  const std::string verb = lower(tokens[0].text);
  if (verb == "get" || verb == "call" || verb == "put") {
    command.kind = verb == "get"   ? CommandKind::Get
                   : verb == "put" ? CommandKind::Put
                                   : CommandKind::Call;
    if (tokens.size() < 2) {
      error = "'" + verb + "' needs a member name";
      return parsed;
    }
    if (tokens[1].quoted || !parseTarget(tokens[1].text, command, error)) {
      if (error.empty()) {
        error = "bad member name";
      }
      return parsed;
    }
    if (command.kind == CommandKind::Put && tokens.size() != 3) {
      error = "'put' takes a member name and one value";
      return parsed;
    }
    if (!parseArguments(tokens, 2, command, error)) {
      return parsed;
    }
    if (command.kind == CommandKind::Put && !command.args[0].name.empty()) {
      error = "'put' takes no parameter name";
      return parsed;
    }
  } else if (verb == "enum" || verb == "release") {
    command.kind = verb == "enum" ? CommandKind::Enum : CommandKind::Release;
    if (!expectCount(tokens, 2, verb == "enum" ? 3 : 2, error)) {
      return parsed;
    }
    if (tokens[1].quoted || !parseHandle(tokens[1].text, command.object)) {
      error = "'" + verb + "' needs an object reference $N";
      return parsed;
    }
    if (tokens.size() == 3) {
      std::uint32_t count = 0;
      const std::string& t = tokens[2].text;
      const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), count);
      if (tokens[2].quoted || ec != std::errc() || end != t.data() + t.size() ||
          count > static_cast<std::uint32_t>(kMaxEnumCount)) {
        error = "bad count '" + echoText(t) + "' (0 to 1000000)";
        return parsed;
      }
      command.count = count;
    }
  } else if (verb == "mousedown" || verb == "mouseup" || verb == "click") {
    command.kind = verb == "mousedown" ? CommandKind::MouseDown
                   : verb == "mouseup" ? CommandKind::MouseUp
                                       : CommandKind::Click;
    if (!expectCount(tokens, 2, 2, error)) {
      return parsed;
    }
    if (tokens[1].quoted || !isName(tokens[1].text)) {
      error = "bad control name '" + echoText(tokens[1].text) + "'";
      return parsed;
    }
    command.control = tokens[1].text;
  } else if (verb == "slider") {
    command.kind = CommandKind::Slider;
    if (!expectCount(tokens, 2, 2, error)) {
      return parsed;
    }
    const std::string& t = tokens[1].text;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), command.position);
    if (tokens[1].quoted || ec != std::errc() || end != t.data() + t.size()) {
      error = "bad slider position '" + echoText(t) + "'";
      return parsed;
    }
  } else if (verb == "sleep") {
    command.kind = CommandKind::Sleep;
    if (!expectCount(tokens, 2, 2, error)) {
      return parsed;
    }
    if (tokens[1].quoted || !server::parseDecimal(tokens[1].text, command.seconds) ||
        !(command.seconds >= 0.0 && command.seconds <= kMaxSleepSeconds)) {
      error = "bad number of seconds '" + echoText(tokens[1].text) + "' (0 to 3600)";
      return parsed;
    }
  } else if (verb == "paddle" || verb == "closebox" || verb == "canunload") {
    command.kind = verb == "paddle"     ? CommandKind::Paddle
                   : verb == "closebox" ? CommandKind::CloseBox
                                        : CommandKind::CanUnload;
    if (!expectCount(tokens, 1, 1, error)) {
      return parsed;
    }
  } else {
    error = "unknown command '" + echoText(tokens[0].text) + "'";
    return parsed;
  }
  parsed.command = std::move(command);
  return parsed;
}

std::string_view withoutByteOrderMark(std::string_view firstLine) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (firstLine.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    firstLine.remove_prefix(kByteOrderMark.size());
  }
  return firstLine;
}

}  // namespace tramox::tools
