#include "alpaca/json_response.h"

namespace tramox::alpaca {

namespace {

// As Json::dump writes it, compact, but at the end of out. Making a writer costs two
// allocations: there is one a thread, whose target takes out's text for the time of a dump.
template <class Json>
void append(std::string& out, const Json& value) {
  thread_local std::string target;
  thread_local nlohmann::detail::serializer<Json> writer(
      nlohmann::detail::output_adapter<char>(target), ' ', Json::error_handler_t::replace);
  struct SwappedBack {
    std::string& a;
    std::string& b;
    ~SwappedBack() { a.swap(b); }
  };
  target.swap(out);
  const SwappedBack back{target, out};
  writer.dump(value, false, false, 0);
}

template <class Json>
HttpResponse written(const Json& value) {
  std::string body;
  append(body, value);
  return jsonText(std::move(body));
}

}  // namespace

HttpResponse jsonResponse(const nlohmann::json& value) {
  return written(value);
}

HttpResponse jsonResponse(const nlohmann::ordered_json& value) {
  return written(value);
}

void appendJson(std::string& out, const nlohmann::ordered_json& value) {
  append(out, value);
}

HttpResponse jsonText(std::string body) {
  HttpResponse response;
  response.contentType = "application/json; charset=utf-8";
  response.body = std::move(body);
  return response;
}

}  // namespace tramox::alpaca
