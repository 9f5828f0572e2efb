#include "alpaca/alpaca_answer.h"

#include "alpaca/json_response.h"

namespace tramox::alpaca {

HttpResponse AnswerWriter::write(std::uint32_t clientTransactionId, const Answer& answer) {
  Json body = Json::object();
  if (answer.value) {
    body["Value"] = *answer.value;
  }
  body["ClientTransactionID"] = clientTransactionId;
  body["ServerTransactionID"] = ++lastServerTransactionId_;
  body["ErrorNumber"] = answer.errorNumber;
  body["ErrorMessage"] = answer.errorMessage;
  return jsonResponse(body);
}

}  // namespace tramox::alpaca
