#include "tools/shell_completion.h"

#include <algorithm>

#include "tools/command_help.h"

namespace tramox::tools {
namespace {

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         server::equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

class Matches {
 public:
  Matches(std::string_view typed, std::string prefix = {})
      : typed_(typed), prefix_(std::move(prefix)) {}

  void add(std::string_view word) {
    if (!startsWithIgnoreCase(word, typed_)) {
      return;
    }
    std::string whole = prefix_ + std::string(word);
    if (std::find(words_.begin(), words_.end(), whole) == words_.end()) {
      words_.push_back(std::move(whole));
    }
  }
  void add(std::span<const std::string_view> words) {
    for (std::string_view w : words) {
      add(w);
    }
  }
  std::vector<std::string> take() { return std::move(words_); }

 private:
  std::string_view typed_;
  std::string prefix_;
  std::vector<std::string> words_;
};

std::string handleText(int handle) {
  return "$" + std::to_string(handle);
}

// The members a get, put or call may name.
void addMembers(Matches& matches, const server::InterfaceInfo& iface, CommandKind verb) {
  for (const server::MemberInfo& m : iface.members) {
    const bool fits = verb == CommandKind::Call  ? m.kind != server::MemberKind::PropertyPut
                      : verb == CommandKind::Put ? m.kind == server::MemberKind::PropertyPut
                                                 : m.kind == server::MemberKind::PropertyGet;
    if (fits && !m.hidden) {
      matches.add(m.name);
    }
  }
}

std::vector<std::string> memberTargets(std::string_view word, CommandKind verb,
                                       const ShellState& state) {
  if (word.empty() || word[0] != '$') {
    Matches matches(word);
    addMembers(matches, server::telescopeInterface(), verb);
    return matches.take();
  }
  const auto dot = word.find('.');
  if (dot == std::string_view::npos) {
    Matches matches(word);
    for (const LiveObject& o : state.objects) {
      if (o.iface) {
        matches.add(handleText(o.handle) + ".");
      }
    }
    return matches.take();
  }
  Matches matches(word.substr(dot + 1), std::string(word.substr(0, dot + 1)));
  for (const LiveObject& o : state.objects) {
    if (o.iface && handleText(o.handle) == word.substr(0, dot)) {
      addMembers(matches, *o.iface, verb);
    }
  }
  return matches.take();
}

std::vector<std::string> values(std::string_view word, const ShellState& state) {
  const auto assign = word.find(":=");
  const std::size_t start = assign == std::string_view::npos ? 0 : assign + 2;
  Matches matches(word.substr(start), std::string(word.substr(0, start)));
  for (const server::EnumInfo& e : server::enumerations()) {
    for (const server::EnumMemberInfo& m : e.members) {
      matches.add(m.name);
    }
  }
  for (std::string_view literal : {"true", "false", "empty"}) {
    matches.add(literal);
  }
  for (const LiveObject& o : state.objects) {
    matches.add(handleText(o.handle));
  }
  return matches.take();
}

}  // namespace

std::vector<std::string> completions(std::string_view lineBeforeCursor, const ShellState& state) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < lineBeforeCursor.size()) {
    while (i < lineBeforeCursor.size() &&
           (lineBeforeCursor[i] == ' ' || lineBeforeCursor[i] == '\t')) {
      ++i;
    }
    const std::size_t start = i;
    while (i < lineBeforeCursor.size() && lineBeforeCursor[i] != ' ' &&
           lineBeforeCursor[i] != '\t') {
      ++i;
    }
    if (i > start) {
      words.push_back(lineBeforeCursor.substr(start, i - start));
    }
  }
  const bool afterBlank =
      lineBeforeCursor.empty() || lineBeforeCursor.back() == ' ' || lineBeforeCursor.back() == '\t';
  if (afterBlank) {
    words.emplace_back();
  }
  const std::string_view word = words.back();
  const std::size_t position = words.size() - 1;
  if (position == 0) {
    Matches matches(word);
    matches.add(commandNames(true));
    return matches.take();
  }
  const auto is = [&](std::string_view name) { return server::equalsIgnoreCase(words[0], name); };
  if (is("get") || is("put") || is("call")) {
    const CommandKind kind = is("get")   ? CommandKind::Get
                             : is("put") ? CommandKind::Put
                                         : CommandKind::Call;
    return position == 1 ? memberTargets(word, kind, state) : values(word, state);
  }
  if (position != 1) {
    return {};
  }
  Matches matches(word);
  if (is("enum") || is("release")) {
    for (const LiveObject& o : state.objects) {
      matches.add(handleText(o.handle));
    }
  } else if (is("help")) {
    matches.add(helpTopics());
  } else if (is("mousedown") || is("mouseup") || is("click")) {
    for (const std::string& control : state.controls) {
      matches.add(control);
    }
  }
  return matches.take();
}

}  // namespace tramox::tools
