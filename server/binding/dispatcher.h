#pragma once
// Late binding through the member tables, as IDispatch does it through a type library: names
// resolve case-insensitively, a call picks the member of its identifier and kind, and the
// arguments (positional last-first, named by parameter position) are counted and coerced to
// the parameter types before the member runs, so a refused call changes nothing.
#include <array>
#include <cstdint>
#include <span>

#include "platform/call_epoch.h"
#include "server/binding/abi.h"
#include "server/binding/variant.h"
#include "server/failure_rule.h"
#include "server/member_table.h"

namespace tramox::server::binding {

// GetIDsOfNames over one interface.
HResult idsOfNames(const InterfaceInfo& iface, const std::string* names, std::uint32_t count,
                   DispId* ids);

struct BoundCall {
  const MemberInfo* member = nullptr;
  std::array<Variant, 2> args;  // coerced, in declaration order
};

// Picks the member and prepares its arguments. On a coercion or naming failure argErr (when
// given) receives the index in params->args of the argument at fault.
HResult bindCall(const InterfaceInfo& iface, DispId dispid, std::uint16_t flags,
                 const DispParams* params, BoundCall& call, std::uint32_t* argErr);

// The call of one member on its implementation object, arguments already coerced.
template <class Target>
struct Invoker {
  DispId dispid;
  MemberKind kind;
  void (*call)(Target& target, std::span<const Variant> args, Variant& result);
};

// Dates travel as doubles inside the driver; the table says which results are dates.
void labelResult(const MemberInfo& member, Variant& result);

// Fills the error information the failure rule produced.
HResult reportFailure(const MemberFailure& failure, ExcepInfo* excepInfo);

// Invoke: binds, runs the member under the failure rule and hands back its result.
template <class Target>
HResult invokeMember(const ClassInfo& cls, std::span<const Invoker<Target>> invokers,
                     Target& target, DispId dispid, std::uint16_t flags, DispParams* params,
                     Variant* result, ExcepInfo* excepInfo, std::uint32_t* argErr) {
  BoundCall call;
  HResult hr = bindCall(*cls.defaultInterface, dispid, flags, params, call, argErr);
  if (status::failed(hr)) {
    return hr;
  }
  const Invoker<Target>* invoker = nullptr;
  for (const Invoker<Target>& candidate : invokers) {
    if (candidate.dispid == call.member->dispid && candidate.kind == call.member->kind) {
      invoker = &candidate;
    }
  }
  if (!invoker) {
    return status::kDispMemberNotFound;
  }
  Variant value;
  MemberFailure failure;
  const platform::CallScope scope;
  hr = guardMember(cls.progId, failure, [&] {
    invoker->call(target, std::span<const Variant>(call.args.data(), call.member->paramCount),
                  value);
  });
  if (status::failed(hr)) {
    return reportFailure(failure, excepInfo);
  }
  labelResult(*call.member, value);
  if (result) {
    *result = std::move(value);
  }
  return status::kOk;
}

}  // namespace tramox::server::binding
