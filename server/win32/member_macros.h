#pragma once
// The vtable method each generated row of the member tables becomes, inside a class that has
// target() (the C++ object behind the interface) and run() (the failure rule). A property
// read Name calls Get_Name, a write Set_Name, a method its own name.
#include "server/win32/com_conversions.h"

#define TRAMOX_OUT_CHECK(out) \
  if ((out) == nullptr)       \
  return E_POINTER

#define TRAMOX_GET(I, N, R)                                                         \
  STDMETHODIMP get_##N(R* Value) override {                                         \
    TRAMOX_OUT_CHECK(Value);                                                        \
    return run([&] { ::tramox::server::win32::store(Value, target().Get_##N()); }); \
  }

#define TRAMOX_GET_INDEXED(I, N, T1, P1, R)                                                      \
  STDMETHODIMP get_##N(T1 P1, R* Value) override {                                               \
    TRAMOX_OUT_CHECK(Value);                                                                     \
    return run([&] {                                                                             \
      ::tramox::server::win32::store(Value, target().Get_##N(::tramox::server::win32::arg(P1))); \
    });                                                                                          \
  }

#define TRAMOX_PUT(I, N, T)                                                        \
  STDMETHODIMP put_##N(T NewValue) override {                                      \
    return run([&] { target().Set_##N(::tramox::server::win32::arg(NewValue)); }); \
  }

#define TRAMOX_CALL0(I, N)             \
  STDMETHODIMP N() override {          \
    return run([&] { target().N(); }); \
  }

#define TRAMOX_CALL1(I, N, T1, P1)                                     \
  STDMETHODIMP N(T1 P1) override {                                     \
    return run([&] { target().N(::tramox::server::win32::arg(P1)); }); \
  }

#define TRAMOX_CALL2(I, N, T1, P1, T2, P2)                                                        \
  STDMETHODIMP N(T1 P1, T2 P2) override {                                                         \
    return run(                                                                                   \
        [&] { target().N(::tramox::server::win32::arg(P1), ::tramox::server::win32::arg(P2)); }); \
  }

#define TRAMOX_CALL0R(I, N, R)                                                \
  STDMETHODIMP N(R* Value) override {                                         \
    TRAMOX_OUT_CHECK(Value);                                                  \
    return run([&] { ::tramox::server::win32::store(Value, target().N()); }); \
  }

#define TRAMOX_CALL1R(I, N, T1, P1, R)                                                     \
  STDMETHODIMP N(T1 P1, R* Value) override {                                               \
    TRAMOX_OUT_CHECK(Value);                                                               \
    return run([&] {                                                                       \
      ::tramox::server::win32::store(Value, target().N(::tramox::server::win32::arg(P1))); \
    });                                                                                    \
  }

#define TRAMOX_CALL2R(I, N, T1, P1, T2, P2, R)                                                    \
  STDMETHODIMP N(T1 P1, T2 P2, R* Value) override {                                               \
    TRAMOX_OUT_CHECK(Value);                                                                      \
    return run([&] {                                                                              \
      ::tramox::server::win32::store(                                                             \
          Value, target().N(::tramox::server::win32::arg(P1), ::tramox::server::win32::arg(P2))); \
    });                                                                                           \
  }

// A collection is its own enumerator.
#define TRAMOX_NEWENUM(I)                                              \
  STDMETHODIMP get__NewEnum(IUnknown** Value) override {               \
    TRAMOX_OUT_CHECK(Value);                                           \
    *Value = static_cast<IUnknown*>(static_cast<IEnumVARIANT*>(this)); \
    (*Value)->AddRef();                                                \
    return S_OK;                                                       \
  }
