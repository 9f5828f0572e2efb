#pragma once
// Argument coercion as the platform's VariantChangeType does it for a type-library call, in
// the English (United States) locale of the type library: "5.5" and 5 both make a double,
// 2.5 rounds to the even integer 2, a text that is no number is a type mismatch and a number
// that does not fit is an overflow.
#include <string_view>

#include "server/binding/variant.h"
#include "server/member_table.h"

namespace tramox::server::binding {

// kOk, kDispTypeMismatch or kDispOverflow. out is only written on success.
HResult coerce(const Variant& in, TypeKind target, Variant& out);

// The text of a number, as VariantChangeType writes it: at most 15 significant digits.
std::string numberText(double value);

}  // namespace tramox::server::binding
