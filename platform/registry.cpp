#include "platform/registry.h"

#include <utility>

namespace tramox::platform {

RegistryValue RegistryValue::ofString(std::string s) {
  RegistryValue v;
  v.kind = ValueKind::String;
  v.text = std::move(s);
  return v;
}

RegistryValue RegistryValue::ofDword(std::uint32_t d) {
  RegistryValue v;
  v.kind = ValueKind::Dword;
  v.dword = d;
  return v;
}

RegistryValue RegistryValue::ofBinary(std::vector<std::uint8_t> b) {
  RegistryValue v;
  v.kind = ValueKind::Binary;
  v.bytes = std::move(b);
  return v;
}

}  // namespace tramox::platform
