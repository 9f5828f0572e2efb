#pragma once
// A member's own failure as Invoke reports it: who raised it, what it says, its code, and what
// it means. Kept apart from the binary interfaces so that a client's answer can carry it too.
#include <string>

#include "common/failure_reason.h"
#include "server/status_codes.h"

namespace tramox::server::binding {

struct ExcepInfo {
  std::string source;
  std::string description;
  status::HResult scode = status::kOk;
  FailureReason reason = FailureReason::Unexpected;
};

}  // namespace tramox::server::binding
