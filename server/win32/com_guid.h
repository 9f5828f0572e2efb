#pragma once
// The member tables' identities as the platform's GUID, for the module and its COM clients.
#include <windows.h>

#include <cstring>

#include "server/guid.h"

namespace tramox::server::win32 {

inline GUID toGuid(const Guid& guid) {
  GUID result;
  result.Data1 = guid.data1;
  result.Data2 = guid.data2;
  result.Data3 = guid.data3;
  std::memcpy(result.Data4, guid.data4.data(), sizeof result.Data4);
  return result;
}

}  // namespace tramox::server::win32
