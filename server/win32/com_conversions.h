#pragma once
// The automation types of the vtables against the plain C++ types of the driver: arguments in
// (arg), results out (store). Written once for every member the generated rows bind.
#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/win32/wide_text.h"
#include "server/win32/tramox_typelib.h"

namespace tramox::rates {
class TRate;
class TRates;
class TTrackingRatesCol;
}  // namespace tramox::rates

namespace tramox::server::win32 {

inline double arg(double value) {
  return value;
}
inline bool arg(VARIANT_BOOL value) {
  return value != VARIANT_FALSE;
}
inline std::int32_t arg(LONG value) {
  return static_cast<std::int32_t>(value);
}
inline std::string arg(BSTR value) {
  return platform::win32::fromWide(value, static_cast<int>(SysStringLen(value)));
}
// Versions 14 and 16 of clang-format lay requires-clauses out differently.
// clang-format off
template <class E>
  requires std::is_enum_v<E>
std::int32_t arg(E value) {
  return static_cast<std::int32_t>(value);
}
// clang-format on

inline void store(double* out, double value) {
  *out = value;
}
inline void store(VARIANT_BOOL* out, bool value) {
  *out = value ? VARIANT_TRUE : VARIANT_FALSE;
}
inline void store(LONG* out, std::int32_t value) {
  *out = value;
}
inline void store(BSTR* out, const std::string& value) {
  const std::wstring wide = platform::win32::toWide(value);
  *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
// Versions 14 and 16 of clang-format lay requires-clauses out differently.
// clang-format off
template <class E, class V>
  requires std::is_enum_v<E>
void store(E* out, V value) {
  *out = static_cast<E>(static_cast<std::int32_t>(value));
}
// clang-format on
// An empty variant when the driver has no value to give.
inline void store(VARIANT* out, const std::optional<bool>& value) {
  VariantInit(out);
  if (value) {
    V_VT(out) = VT_BOOL;
    V_BOOL(out) = *value ? VARIANT_TRUE : VARIANT_FALSE;
  }
}
// Collections and rates come out wrapped in new automation objects of their classes.
void store(IRates** out, std::shared_ptr<rates::TRates> value);
void store(ITrackingRatesCol** out, std::shared_ptr<rates::TTrackingRatesCol> value);
void store(IDispatch** out, std::shared_ptr<rates::TRate> value);

}  // namespace tramox::server::win32
