#pragma once
// Hands a member's failure to the platform as the calling thread's error information.
#include <windows.h>

#include "server/failure_rule.h"

namespace tramox::server::win32 {

void publishErrorInfo(const MemberFailure& failure, const IID& interfaceId) noexcept;

}  // namespace tramox::server::win32
