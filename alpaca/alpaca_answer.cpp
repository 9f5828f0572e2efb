#include "alpaca/alpaca_answer.h"

namespace tramox::alpaca {

HttpResponse AnswerWriter::write(std::uint32_t clientTransactionId, const Answer& answer) {
  Json body = Json::object();
  if (answer.value)
    body["Value"] = *answer.value;
  body["ClientTransactionID"] = clientTransactionId;
  body["ServerTransactionID"] = ++lastServerTransactionId_;
  body["ErrorNumber"] = answer.errorNumber;
  body["ErrorMessage"] = answer.errorMessage;
  // Texts from the driver or the registry may hold bytes that are not UTF-8.
  return jsonResponse(body.dump(-1, ' ', false, Json::error_handler_t::replace));
}

}  // namespace tramox::alpaca
