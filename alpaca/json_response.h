#pragma once
// The one writer of every JSON answer the server gives, Alpaca's and the pages' alike. Texts
// from the driver, the controller or the settings files may hold bytes that are not UTF-8:
// they are replaced, never a reason to give no answer.
#include <string>

#include <nlohmann/json.hpp>

#include "alpaca/http_message.h"

namespace tramox::alpaca {

HttpResponse jsonResponse(const nlohmann::json& value);
HttpResponse jsonResponse(const nlohmann::ordered_json& value);
// For answers written piece by piece: the value's text at the end of out, and out answered.
void appendJson(std::string& out, const nlohmann::ordered_json& value);
HttpResponse jsonText(std::string body);

}  // namespace tramox::alpaca
