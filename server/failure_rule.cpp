#include "server/failure_rule.h"

#include "common/driver_error.h"

namespace tramox::server {

MemberFailure classifyFailure(std::exception_ptr failure, std::string_view progId) noexcept {
  MemberFailure result;
  try {
    result.source.assign(progId);
    try {
      std::rethrow_exception(failure);
    } catch (const DriverError& e) {
      // Only a failure code is a failure: a driver error built with a success or zero code
      // would otherwise reach the client as success.
      if (e.code() < 0) {
        result.code = e.code();
        result.reason = e.reason();
      }
      result.description = e.what();
    } catch (const std::exception& e) {
      result.code = status::kUnexpected;
      result.description = e.what();
    } catch (...) {
      result.code = status::kUnexpected;
      result.description = "Unexpected failure";
    }
  } catch (...) {
    // Out of memory while copying the texts: the code alone still reaches the client.
    result.code = status::kUnexpected;
  }
  return result;
}

}  // namespace tramox::server
