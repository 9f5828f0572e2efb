#pragma once
// The automation variant of the portable runtime: the value types the interfaces use, with
// the platform's type numbers. Object variants own one reference.
#include <cstdint>
#include <string>

#include "server/binding/abi.h"

namespace tramox::server::binding {

enum class VarType : std::uint16_t {
  Empty = 0,
  Int32 = 3,
  Double = 5,
  Date = 7,
  Text = 8,
  Dispatch = 9,
  Bool = 11,
  Unknown = 13,
};

class Variant {
 public:
  Variant() = default;
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant other) noexcept;
  ~Variant();

  static Variant ofBool(bool v);
  static Variant ofInt32(std::int32_t v);
  static Variant ofDouble(double v);
  static Variant ofDate(double automationDate);
  static Variant ofText(std::string v);
  // Both add a reference of their own; a null object gives an object variant holding null.
  static Variant ofDispatch(IDispatch* object);
  static Variant ofUnknown(IUnknown* object);

  VarType type() const { return type_; }
  bool boolValue() const { return number_.b; }
  std::int32_t int32Value() const { return number_.i; }
  double doubleValue() const { return number_.d; }  // Double and Date
  const std::string& text() const { return text_; }
  IDispatch* dispatch() const { return dispatch_; }
  IUnknown* unknown() const { return unknown_; }  // Dispatch and Unknown

  void swap(Variant& other) noexcept;

 private:
  VarType type_ = VarType::Empty;
  union {
    bool b;
    std::int32_t i;
    double d;
  } number_{};
  std::string text_;
  IUnknown* unknown_ = nullptr;    // the owned reference
  IDispatch* dispatch_ = nullptr;  // the same object, Dispatch only
};

}  // namespace tramox::server::binding
