#pragma once
// How every interface member reports failure: a driver failure keeps its own (negative) code
// and reason; anything else becomes E_UNEXPECTED, for no better reason. The source is the
// programmatic identifier of the object's class, the description the failure's message. Both the
// portable runtime and the Windows server apply this one rule.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "common/failure_reason.h"
#include "server/status_codes.h"

namespace tramox::server {

struct MemberFailure {
  status::HResult code = status::kUnexpected;
  std::string source;
  std::string description;
  FailureReason reason = FailureReason::Unexpected;
};

// Classifies a caught exception. Never throws.
MemberFailure classifyFailure(std::exception_ptr failure, std::string_view progId) noexcept;

// Runs body; on any exception fills failure and returns its code, else returns kOk.
template <class Body>
status::HResult guardMember(std::string_view progId, MemberFailure& failure, Body&& body) noexcept {
  try {
    body();
    return status::kOk;
  } catch (...) {
    failure = classifyFailure(std::current_exception(), progId);
    return failure.code;
  }
}

}  // namespace tramox::server
