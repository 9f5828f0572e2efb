#pragma once
// Turns a member function of the driver or of a rate class into an Invoker call: arguments
// arrive already coerced to the parameter types, results become variants (objects wrapped in
// their automation classes). Written once, so no member hand-rolls its conversions.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

#include "server/binding/automation_objects.h"
#include "server/binding/variant.h"

namespace tramox::server::binding {

template <class T>
T argAs(const Variant& v);
template <>
inline double argAs<double>(const Variant& v) {
  return v.doubleValue();
}
template <>
inline bool argAs<bool>(const Variant& v) {
  return v.boolValue();
}
template <>
inline std::int32_t argAs<std::int32_t>(const Variant& v) {
  return v.int32Value();
}
template <>
inline std::string argAs<std::string>(const Variant& v) {
  return v.text();
}

inline Variant resultOf(double v) {
  return Variant::ofDouble(v);
}
inline Variant resultOf(bool v) {
  return Variant::ofBool(v);
}
inline Variant resultOf(std::int32_t v) {
  return Variant::ofInt32(v);
}
inline Variant resultOf(std::string v) {
  return Variant::ofText(std::move(v));
}
// A variant result with nothing in it stays empty.
inline Variant resultOf(const std::optional<bool>& v) {
  return v ? Variant::ofBool(*v) : Variant();
}
inline Variant resultOf(std::shared_ptr<rates::TRate> v) {
  return Variant::ofDispatch(newRateObject(std::move(v)).get());
}
inline Variant resultOf(std::shared_ptr<rates::TRates> v) {
  return Variant::ofDispatch(newRatesObject(std::move(v)).get());
}
inline Variant resultOf(std::shared_ptr<rates::TTrackingRatesCol> v) {
  return Variant::ofDispatch(newTrackingRatesObject(std::move(v)).get());
}

template <class FnType, FnType Fn>
struct Call;

// The body shared by const and non-const members: coerced arguments in, variant out.
template <class T, class R, class... A>
struct CallBody {
  using Class = T;
  template <auto Fn, std::size_t... I>
  static void run(T& target, std::span<const Variant> args, Variant& result,
                  std::index_sequence<I...>) {
    if constexpr (std::is_void_v<R>) {
      (target.*Fn)(argAs<std::decay_t<A>>(args[I])...);
    } else {
      result = resultOf((target.*Fn)(argAs<std::decay_t<A>>(args[I])...));
    }
  }
};

template <class T, class R, class... A, R (T::*Fn)(A...)>
struct Call<R (T::*)(A...), Fn> : CallBody<T, R, A...> {
  template <class Target>
  static void call(Target& target, std::span<const Variant> args, Variant& result) {
    CallBody<T, R, A...>::template run<Fn>(static_cast<T&>(target), args, result,
                                           std::index_sequence_for<A...>{});
  }
};

template <class T, class R, class... A, R (T::*Fn)(A...) const>
struct Call<R (T::*)(A...) const, Fn> : CallBody<T, R, A...> {
  template <class Target>
  static void call(Target& target, std::span<const Variant> args, Variant& result) {
    CallBody<T, R, A...>::template run<Fn>(static_cast<T&>(target), args, result,
                                           std::index_sequence_for<A...>{});
  }
};

// The Invoker row of one member: {dispid, kind, call<&Class::Member>()}.
template <auto Fn>
constexpr auto call() {
  using Bound = Call<decltype(Fn), Fn>;
  return &Bound::template call<typename Bound::Class>;
}
// The same for a member that Target inherits.
template <class Target, auto Fn>
constexpr auto callAs() {
  return &Call<decltype(Fn), Fn>::template call<Target>;
}

}  // namespace tramox::server::binding
