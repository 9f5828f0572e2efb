#pragma once
// Request parameters as Alpaca sends them: form-encoded pairs, names looked up under the
// casing rules of the request's method, values in the invariant forms clients write.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramox::alpaca {

struct Parameter {
  std::string name;
  std::string value;
};

// "a=1&b=x%20y": percent escapes and '+' decoded. nullopt for a broken escape or a name or
// value that is not UTF-8 after decoding.
std::optional<std::vector<Parameter>> parseForm(std::string_view encoded);

// Names in a query string (GET) match in any casing. In a form body (PUT) they match exactly;
// a member parameter sent in other casing is a client error the caller reports, while a
// mis-cased ClientID or ClientTransactionID is simply not there.
class Parameters {
 public:
  Parameters(std::vector<Parameter> list, bool exactCase)
      : list_(std::move(list)), exactCase_(exactCase) {}

  // The value under the method's rule; the first one when sent twice.
  const std::string* find(std::string_view name) const;
  // True when the name is only there in other casing, under the exact rule.
  bool misCased(std::string_view name) const;

 private:
  std::vector<Parameter> list_;
  bool exactCase_;
};

// A page's form: the last value of that name (a ticked box follows its hidden default);
// nullptr when there is none.
const std::string* lastValue(const std::vector<Parameter>& form, std::string_view name);

std::optional<double> parseDouble(std::string_view text);
std::optional<std::int32_t> parseInt32(std::string_view text);
// "True"/"False" in any casing.
std::optional<bool> parseBool(std::string_view text);
// ISO 8601 "yyyy-MM-ddTHH:mm:ss", an optional fraction of any length, then optionally "Z" or
// an offset "+HH:MM"/"-HH:MM" (no zone is taken as UTC): the UTC instant as an automation
// date.
std::optional<double> parseIsoDate(std::string_view text);
// Whether an automation date holds the instant: the last one it holds is in 9999.
bool fitsAutomationDate(double date);
// The transaction and client identifiers: an unsigned 32-bit number; anything else is 0.
std::uint32_t parseIdentifier(const std::string* text);

// An automation date (UTC) as "yyyy-MM-ddTHH:mm:ss.fffffffZ".
std::string formatIsoDate(double automationDate);

}  // namespace tramox::alpaca
