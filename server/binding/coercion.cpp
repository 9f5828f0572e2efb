#include "server/binding/coercion.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/automation_date.h"
#include "server/decimal_text.h"

namespace tramox::server::binding {
namespace {

constexpr double kFirstDate = -657434.0;  // 1 January 100
constexpr double kLastDate = 2958465.0;   // 31 December 9999

// "2024-03-01", "2024-03-01 22:15" or "2024-03-01T22:15:30".
bool parseIsoDate(std::string_view text, double& date) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char sep = 0;
  char extra = 0;
  const std::string copy(text);
  const int n = std::sscanf(copy.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%c", &y, &mo, &d, &sep, &h, &mi,
                            &s, &extra);
  if (n != 3 && n != 6 && n != 7) {
    return false;
  }
  if (n > 3 && sep != ' ' && sep != 'T') {
    return false;
  }
  if (y < 1900 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59 ||
      h < 0 || mi < 0 || s < 0) {
    return false;
  }
  platform::CivilDateTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  t.second = s;
  date = platform::toAutomationDate(t);
  return true;
}

HResult numberFrom(const Variant& in, double& value) {
  switch (in.type()) {
    case VarType::Empty:
      value = 0.0;
      return status::kOk;
    case VarType::Bool:
      value = in.boolValue() ? -1.0 : 0.0;  // the automation boolean's true is -1
      return status::kOk;
    case VarType::Int32:
      value = in.int32Value();
      return status::kOk;
    case VarType::Double:
    case VarType::Date:
      value = in.doubleValue();
      return status::kOk;
    case VarType::Text: {
      if (!server::parseDecimal(in.text(), value)) {
        return status::kDispTypeMismatch;
      }
      if (!std::isfinite(value)) {
        return status::kDispOverflow;
      }
      return status::kOk;
    }
    default:
      return status::kDispTypeMismatch;
  }
}

// Round half to even, as the platform's conversions to integer do.
HResult int32From(double value, std::int32_t& out) {
  if (std::isnan(value)) {
    return status::kDispOverflow;
  }
  const double rounded = std::nearbyint(value);  // default rounding mode: to nearest even
  if (rounded < -2147483648.0 || rounded > 2147483647.0) {
    return status::kDispOverflow;
  }
  out = static_cast<std::int32_t>(rounded);
  return status::kOk;
}

}  // namespace

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15G", value);
  return text;
}

HResult coerce(const Variant& in, TypeKind target, Variant& out) {
  switch (target) {
    case TypeKind::Variant:
      out = in;
      return status::kOk;
    case TypeKind::Double: {
      double v = 0;
      const HResult hr = numberFrom(in, v);
      if (hr == status::kOk) {
        out = Variant::ofDouble(v);
      }
      return hr;
    }
    case TypeKind::Date: {
      double v = 0;
      if (in.type() == VarType::Text && parseIsoDate(trimBlanks(in.text()), v)) {
        out = Variant::ofDate(v);
        return status::kOk;
      }
      const HResult hr = numberFrom(in, v);
      if (hr != status::kOk) {
        return hr;
      }
      // An automation date covers 1 January 100 to 31 December 9999; anything else (or NaN)
      // is no date, and a driver must not be handed one.
      if (!(v > kFirstDate - 1.0 && v < kLastDate + 1.0)) {
        return status::kDispOverflow;
      }
      out = Variant::ofDate(v);
      return hr;
    }
    case TypeKind::Int32:
    case TypeKind::Enum: {
      double v = 0;
      HResult hr = numberFrom(in, v);
      std::int32_t i = 0;
      if (hr == status::kOk) {
        hr = int32From(v, i);
      }
      if (hr == status::kOk) {
        out = Variant::ofInt32(i);
      }
      return hr;
    }
    case TypeKind::Bool: {
      if (in.type() == VarType::Text) {
        const std::string_view t = trimBlanks(in.text());
        if (equalsIgnoreCase(t, "true") || equalsIgnoreCase(t, "#TRUE#")) {
          out = Variant::ofBool(true);
          return status::kOk;
        }
        if (equalsIgnoreCase(t, "false") || equalsIgnoreCase(t, "#FALSE#")) {
          out = Variant::ofBool(false);
          return status::kOk;
        }
      }
      double v = 0;
      const HResult hr = numberFrom(in, v);
      if (hr == status::kOk) {
        out = Variant::ofBool(v != 0.0);
      }
      return hr;
    }
    case TypeKind::Text:
      switch (in.type()) {
        case VarType::Empty:
          out = Variant::ofText("");
          return status::kOk;
        case VarType::Text:
          out = in;
          return status::kOk;
        case VarType::Bool:
          out = Variant::ofText(in.boolValue() ? "True" : "False");
          return status::kOk;
        case VarType::Int32:
          out = Variant::ofText(std::to_string(in.int32Value()));
          return status::kOk;
        case VarType::Double:
        case VarType::Date:
          out = Variant::ofText(numberText(in.doubleValue()));
          return status::kOk;
        default:
          return status::kDispTypeMismatch;
      }
    case TypeKind::Dispatch:
    case TypeKind::Interface:
      if (in.type() != VarType::Dispatch) {
        return status::kDispTypeMismatch;
      }
      out = in;
      return status::kOk;
    case TypeKind::Unknown:
      if (in.type() != VarType::Dispatch && in.type() != VarType::Unknown) {
        return status::kDispTypeMismatch;
      }
      out = in;
      return status::kOk;
    case TypeKind::Void:
      break;
  }
  return status::kDispTypeMismatch;
}

}  // namespace tramox::server::binding
