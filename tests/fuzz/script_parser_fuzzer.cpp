// Any line: parsed or refused with a reason, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/script_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const tramox::tools::ParsedLine parsed = tramox::tools::parseLine(line);
  if (parsed.command && !parsed.error.empty()) {
    __builtin_trap();
  }
  return 0;
}
