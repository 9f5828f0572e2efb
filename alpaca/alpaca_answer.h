#pragma once
// The JSON answer every Alpaca member gives: Value (when the member has one), the client's
// transaction number echoed, the server's own, and the error number and message.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "alpaca/http_message.h"

namespace tramox::alpaca {

using Json = nlohmann::ordered_json;

struct Answer {
  std::optional<Json> value;
  int errorNumber = 0;
  std::string errorMessage;
};

class AnswerWriter {
 public:
  // Numbers each answer from 1 up, whichever thread writes it.
  HttpResponse write(std::uint32_t clientTransactionId, const Answer& answer);

 private:
  std::atomic<std::uint32_t> lastServerTransactionId_{0};
};

}  // namespace tramox::alpaca
