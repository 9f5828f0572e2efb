#pragma once
// The invoker rows of one interface from the list the member tables generate (the list the
// COM server's vtable methods come from too): one call per table row, named by the same rule
// (a method by its name, a property read Get_<Name>, a write Set_<Name>). Each row's dispatch
// identifier and kind are the table's own, so none is written here.
//
// Use: define TRAMOX_ROWS_TARGET as the implementation class, then
//   const RowCall<Target> kCalls[] = {
//   #include "IName_members.inc"
//   };
#include <span>
#include <vector>

#include "server/binding/member_binding.h"

namespace tramox::server::binding {

template <class Target>
using RowCall = void (*)(Target&, std::span<const Variant>, Variant&);

// Pairs the calls with the table's rows in order; _NewEnum (no call) is left to the
// collection object.
template <class Target>
std::vector<Invoker<Target>> rowsOf(const InterfaceInfo& iface,
                                    std::span<const RowCall<Target>> calls) {
  std::vector<Invoker<Target>> rows;
  for (std::size_t i = 0; i < iface.members.size() && i < calls.size(); ++i) {
    if (calls[i]) {
      rows.push_back({iface.members[i].dispid, iface.members[i].kind, calls[i]});
    }
  }
  return rows;
}

}  // namespace tramox::server::binding

#define TRAMOX_ROW(member) ::tramox::server::binding::callAs<TRAMOX_ROWS_TARGET, &member>(),
#define TRAMOX_GET(I, N, R) TRAMOX_ROW(TRAMOX_ROWS_TARGET::Get_##N)
#define TRAMOX_GET_INDEXED(I, N, T1, P1, R) TRAMOX_ROW(TRAMOX_ROWS_TARGET::Get_##N)
#define TRAMOX_PUT(I, N, T) TRAMOX_ROW(TRAMOX_ROWS_TARGET::Set_##N)
#define TRAMOX_CALL0(I, N) TRAMOX_ROW(TRAMOX_ROWS_TARGET::N)
#define TRAMOX_CALL0R(I, N, R) TRAMOX_ROW(TRAMOX_ROWS_TARGET::N)
#define TRAMOX_CALL1(I, N, T1, P1) TRAMOX_ROW(TRAMOX_ROWS_TARGET::N)
#define TRAMOX_CALL1R(I, N, T1, P1, R) TRAMOX_ROW(TRAMOX_ROWS_TARGET::N)
#define TRAMOX_CALL2(I, N, T1, P1, T2, P2) TRAMOX_ROW(TRAMOX_ROWS_TARGET::N)
#define TRAMOX_CALL2R(I, N, T1, P1, T2, P2, R) TRAMOX_ROW(TRAMOX_ROWS_TARGET::N)
#define TRAMOX_NEWENUM(I) nullptr,
