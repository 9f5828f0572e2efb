#include "alpaca/json_response.h"

namespace tramox::alpaca {

namespace {

template <class Json>
HttpResponse written(const Json& value) {
  HttpResponse response;
  response.contentType = "application/json; charset=utf-8";
  response.body = value.dump(-1, ' ', false, Json::error_handler_t::replace);
  return response;
}

}  // namespace

HttpResponse jsonResponse(const nlohmann::json& value) {
  return written(value);
}

HttpResponse jsonResponse(const nlohmann::ordered_json& value) {
  return written(value);
}

}  // namespace tramox::alpaca
