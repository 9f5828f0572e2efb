#pragma once
// Failures that carry an interface error code. Anything thrown that is not a DriverError
// reaches clients as E_UNEXPECTED with its own message (see server/).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tramox {

// Status codes the telescope interface reports, as signed 32-bit HRESULT values.
namespace codes {
inline constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80040400u);
inline constexpr std::int32_t kInvalidState = static_cast<std::int32_t>(0x80040401u);
inline constexpr std::int32_t kDeclinationUnreadable = static_cast<std::int32_t>(0x80040402u);
inline constexpr std::int32_t kTargetNotSet = static_cast<std::int32_t>(0x80040403u);
inline constexpr std::int32_t kInvalidValue = static_cast<std::int32_t>(0x80040405u);
inline constexpr std::int32_t kUnexpected = static_cast<std::int32_t>(0x8000FFFFu);
}  // namespace codes

class DriverError : public std::runtime_error {
 public:
  DriverError(std::int32_t code, const std::string& message)
      : std::runtime_error(message), code_(code) {}
  std::int32_t code() const noexcept { return code_; }

 private:
  std::int32_t code_;
};

}  // namespace tramox
