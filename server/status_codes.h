#pragma once
// Status codes of the automation layer, as signed 32-bit values. Named without the platform's
// macro spellings so that this header also compiles next to <windows.h>.
#include <cstdint>

namespace tramox::server::status {

using HResult = std::int32_t;

constexpr HResult fromBits(std::uint32_t bits) {
  return static_cast<HResult>(bits);
}

inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kUnexpected = fromBits(0x8000FFFFu);
inline constexpr HResult kNoInterface = fromBits(0x80004002u);
inline constexpr HResult kPointer = fromBits(0x80004003u);
inline constexpr HResult kFail = fromBits(0x80004005u);
inline constexpr HResult kOutOfMemory = fromBits(0x8007000Eu);
inline constexpr HResult kInvalidArg = fromBits(0x80070057u);
inline constexpr HResult kClassNotAvailable = fromBits(0x80040111u);
inline constexpr HResult kNoAggregation = fromBits(0x80040110u);
inline constexpr HResult kRegDbClassNotReg = fromBits(0x80040154u);

inline constexpr HResult kDispUnknownInterface = fromBits(0x80020001u);
inline constexpr HResult kDispMemberNotFound = fromBits(0x80020003u);
inline constexpr HResult kDispParamNotFound = fromBits(0x80020004u);
inline constexpr HResult kDispTypeMismatch = fromBits(0x80020005u);
inline constexpr HResult kDispUnknownName = fromBits(0x80020006u);
inline constexpr HResult kDispNoNamedArgs = fromBits(0x80020007u);
inline constexpr HResult kDispBadVarType = fromBits(0x80020008u);
inline constexpr HResult kDispException = fromBits(0x80020009u);
inline constexpr HResult kDispOverflow = fromBits(0x8002000Au);
inline constexpr HResult kDispBadParamCount = fromBits(0x8002000Eu);
inline constexpr HResult kDispParamNotOptional = fromBits(0x8002000Fu);

constexpr bool failed(HResult hr) {
  return hr < 0;
}

}  // namespace tramox::server::status
