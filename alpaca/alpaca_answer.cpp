#include "alpaca/alpaca_answer.h"

#include <charconv>

#include "alpaca/json_response.h"

namespace tramox::alpaca {

namespace {

template <typename Number>
void appendNumber(std::string& out, Number number) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, end);
}

}  // namespace

// Written member by member, in the order clients see them: an answer per request, with no
// JSON object built for it.
HttpResponse AnswerWriter::write(std::uint32_t clientTransactionId, const Answer& answer) {
  std::string body;
  body.reserve(128);
  body += '{';
  if (answer.value) {
    body += "\"Value\":";
    appendJson(body, *answer.value);
    body += ',';
  }
  body += "\"ClientTransactionID\":";
  appendNumber(body, clientTransactionId);
  body += ",\"ServerTransactionID\":";
  appendNumber(body, ++lastServerTransactionId_);
  body += ",\"ErrorNumber\":";
  appendNumber(body, answer.errorNumber);
  body += ",\"ErrorMessage\":";
  if (answer.errorMessage.empty()) {
    body += "\"\"";
  } else {
    appendJson(body, Json(answer.errorMessage));
  }
  body += '}';
  return jsonText(std::move(body));
}

}  // namespace tramox::alpaca
