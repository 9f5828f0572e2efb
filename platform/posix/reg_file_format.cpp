#include "platform/posix/reg_file_format.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace tramox::platform {

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

class ParseError {
 public:
  explicit ParseError(std::string reason) : reason(std::move(reason)) {}
  std::string reason;
};

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') {
      out += '\\';
    }
    out += c;
  }
  return out + "\"";
}

// Reads a quoted string starting at text[pos] == '"'; leaves pos after the closing quote.
std::string unquote(const std::string& text, std::size_t& pos) {
  std::string out;
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\') {
      if (++pos >= text.size() || (text[pos] != '\\' && text[pos] != '"')) {
        throw ParseError("unknown escape in a quoted string");
      }
      c = text[pos];
    }
    out += c;
  }
  throw ParseError("unterminated quoted string");
}

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  char pair[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
    out += (i == 0 ? "" : ",") + std::string(pair);
  }
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

std::vector<std::uint8_t> parseHexBytes(const std::string& list) {
  std::vector<std::uint8_t> bytes;
  std::string item;
  std::istringstream in(list);
  while (std::getline(in, item, ',')) {
    auto first = item.find_first_not_of(" \t");
    auto last = item.find_last_not_of(" \t");
    if (first == std::string::npos || last - first != 1 || hexDigit(item[first]) < 0 ||
        hexDigit(item[last]) < 0) {
      throw ParseError("bad byte '" + item + "' in a hex list");
    }
    bytes.push_back(static_cast<std::uint8_t>(hexDigit(item[first]) * 16 + hexDigit(item[last])));
  }
  if (!list.empty() && list.back() == ',') {
    throw ParseError("hex list ends with a comma");
  }
  return bytes;
}

// UTF-8 <-> UTF-16LE for hex(1) strings. A byte that is not part of valid UTF-8 is taken as
// Latin-1 rather than refused: the text reaches the file, if not byte for byte.
std::vector<std::uint8_t> utf16leOf(const std::string& text) {
  std::vector<std::uint8_t> out;
  auto put = [&](unsigned unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  };
  for (std::size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    unsigned length = c < 0x80         ? 1
                      : (c >> 5) == 6  ? 2
                      : (c >> 4) == 14 ? 3
                      : (c >> 3) == 30 ? 4
                                       : 0;
    unsigned code = length == 1   ? c
                    : length == 2 ? (c & 0x1F)
                    : length == 3 ? (c & 0x0F)
                                  : (c & 0x07);
    bool valid = length != 0 && i + length <= text.size();
    for (unsigned k = 1; valid && k < length; ++k) {
      auto cc = static_cast<unsigned char>(text[i + k]);
      valid = (cc & 0xC0) == 0x80;
      code = (code << 6) | (cc & 0x3F);
    }
    if (!valid || (length == 2 && code < 0x80) || (length == 3 && code < 0x800) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)) || (code >= 0xD800 && code < 0xE000)) {
      put(c);
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      put(0xD800 + (code >> 10));
      put(0xDC00 + (code & 0x3FF));
    } else {
      put(code);
    }
    i += length;
  }
  put(0);
  return out;
}

std::string utf8Of(const std::vector<std::uint8_t>& utf16le) {
  if (utf16le.size() % 2 != 0) {
    throw ParseError("hex(1) string of an odd number of bytes");
  }
  std::vector<unsigned> units;
  for (std::size_t i = 0; i < utf16le.size(); i += 2) {
    units.push_back(utf16le[i] | (static_cast<unsigned>(utf16le[i + 1]) << 8));
  }
  if (!units.empty() && units.back() == 0) {
    units.pop_back();
  }
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    unsigned code = units[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace

const char* hiveRootName(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return "HKEY_CURRENT_USER";
    case Hive::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case Hive::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return "";
}

std::string formatRegFile(const RegistryTree& tree, Hive hive) {
  std::string out = std::string(kHeader) + "\n";
  for (const RegistryTree::Key* key : tree.keys()) {
    out += "\n[" + std::string(hiveRootName(hive)) + "\\" + key->path + "]\n";
    for (const auto& [name, value] : key->values) {
      out += name.empty() ? "@=" : quoted(name) + "=";
      switch (value.kind) {
        case ValueKind::String:
          out += hasControlCharacter(value.text) ? "hex(1):" + hexBytes(utf16leOf(value.text))
                                                 : quoted(value.text);
          break;
        case ValueKind::Dword: {
          char text[16];
          std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value.dword));
          out += text;
          break;
        }
        case ValueKind::Binary:
          out += "hex:" + hexBytes(value.bytes);
          break;
      }
      out += "\n";
    }
  }
  return out;
}

namespace {

RegistryValue parseData(const std::string& data) {
  if (!data.empty() && data[0] == '"') {
    std::size_t pos = 0;
    std::string text = unquote(data, pos);
    if (pos != data.size()) {
      throw ParseError("text after a quoted string");
    }
    return RegistryValue::ofString(std::move(text));
  }
  if (data.rfind("dword:", 0) == 0) {
    std::string digits = data.substr(6);
    if (digits.empty() || digits.size() > 8) {
      throw ParseError("dword needs 1 to 8 hex digits");
    }
    std::uint32_t v = 0;
    for (char c : digits) {
      if (hexDigit(c) < 0) {
        throw ParseError("bad hex digit in a dword");
      }
      v = v * 16 + static_cast<std::uint32_t>(hexDigit(c));
    }
    return RegistryValue::ofDword(v);
  }
  if (data.rfind("hex:", 0) == 0) {
    return RegistryValue::ofBinary(parseHexBytes(data.substr(4)));
  }
  if (data.rfind("hex(1):", 0) == 0) {
    return RegistryValue::ofString(utf8Of(parseHexBytes(data.substr(7))));
  }
  throw ParseError("unsupported value data '" + data.substr(0, 20) + "'");
}

}  // namespace

RegistryTree parseRegFile(const std::string& text, Hive hive, const std::string& fileName) {
  RegistryTree tree;
  const std::string root = hiveRootName(hive);
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  bool headerSeen = false;
  std::optional<std::string> currentKey;  // nullopt before the first section
  try {
    while (std::getline(in, line)) {
      ++lineNumber;
      if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) {
        line.erase(0, 3);
      }
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      // A hex list may continue on following lines after a trailing backslash.
      const int firstLine = lineNumber;
      while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
        std::string next;
        if (!std::getline(in, next)) {
          throw ParseError("file ends inside a continued hex list");
        }
        ++lineNumber;
        if (!next.empty() && next.back() == '\r') {
          next.pop_back();
        }
        line.pop_back();
        line += next.substr(std::min(next.find_first_not_of(" \t"), next.size()));
      }
      if (line.find_first_not_of(" \t") == std::string::npos || line[0] == ';') {
        continue;
      }
      if (!headerSeen) {
        if (line != kHeader) {
          lineNumber = firstLine;
          throw ParseError("expected the header \"" + std::string(kHeader) + "\"");
        }
        headerSeen = true;
        continue;
      }
      if (line[0] == '[') {
        if (line.back() != ']') {
          throw ParseError("key line without a closing ']'");
        }
        std::string path = line.substr(1, line.size() - 2);
        if (foldCase(path) == foldCase(root)) {
          currentKey = "";
          continue;
        }
        if (foldCase(path.substr(0, root.size() + 1)) != foldCase(root + "\\")) {
          throw ParseError("key outside " + root);
        }
        currentKey = RegistryTree::normalizePath(path.substr(root.size() + 1));
        tree.createKey(*currentKey);
        continue;
      }
      if (!currentKey) {
        throw ParseError("value before the first key");
      }
      std::string name;
      std::size_t pos = 0;
      if (line[0] == '@') {
        pos = 1;
      } else if (line[0] == '"') {
        name = unquote(line, pos);
      } else {
        throw ParseError("expected a key, a value name or @");
      }
      if (pos >= line.size() || line[pos] != '=') {
        throw ParseError("expected '=' after the value name");
      }
      if (currentKey->empty()) {
        throw ParseError("values at the root of the hive are not supported");
      }
      tree.setValue(*currentKey, name, parseData(line.substr(pos + 1)));
    }
  } catch (const ParseError& e) {
    throw RegistryError(fileName + ":" + std::to_string(lineNumber) + ": " + e.reason);
  } catch (const RegistryError& e) {
    throw RegistryError(fileName + ":" + std::to_string(lineNumber) + ": " + e.what());
  }
  if (!headerSeen && lineNumber > 0) {
    throw RegistryError(fileName + ":1: expected the header \"" + std::string(kHeader) + "\"");
  }
  return tree;
}

}  // namespace tramox::platform
