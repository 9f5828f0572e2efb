// The every-member walk through the COM server: every row of ITelescope, IRate, IAxisRates and
// ITrackingRatesCol called late-bound by name (GetIDsOfNames, then Invoke) on TRAMOX.dll's
// objects, against the direct call of the same member on a driver object of this process with
// the platform's own services. Each side has its own simulated mount (a copy of the simulator
// under another name), and the two take every row in turn, so both mounts go through the same
// calls at nearly the same moment. A row agrees when the result code and description are the
// same and the result, the new lines of the call log and the simulator's entry points called
// agree, numbers within a small tolerance. Ends with "TRAMOX-WALK-RESULT failures=<n>".
//
// Needs TRAMOX_SIM_JOURNAL; TRAMOX_SIM should hold reset=1 so both mounts start alike.
#include <windows.h>

#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "controller/controller_library.h"
#include "driver/driver_runtime.h"
#include "platform/services.h"
#include "platform/win32/wide_text.h"
#include "server/binding/abi.h"
#include "server/failure_rule.h"
#include "tests/server/every_member_rows.h"
#include "tests/wine/clients/check_report.h"

namespace {

using namespace tramox;
using platform::win32::fromWide;
using platform::win32::toWide;
using testing::every_member::Arg;
using testing::every_member::Row;
using testing::every_member::shown;
using wine_tests::check;

// How far two numbers may differ, relative to their size (at least 1): a mount read a few
// milliseconds later moves by far less; a swapped member answers something else entirely.
constexpr double kTolerance = 1e-3;

// Two results or log texts agree when they are the same text, except that numbers may differ
// within kTolerance: the mounts move with the clock. Result codes are compared apart, exactly.
bool sameOutcome(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char* endA = nullptr;
    char* endB = nullptr;
    const bool digitA = (a[i] >= '0' && a[i] <= '9') || a[i] == '-';
    const bool digitB = (b[j] >= '0' && b[j] <= '9') || b[j] == '-';
    if (digitA && digitB) {
      const double x = std::strtod(a.c_str() + i, &endA);
      const double y = std::strtod(b.c_str() + j, &endB);
      if (endA != a.c_str() + i && endB != b.c_str() + j) {
        if (!(std::fabs(x - y) <= kTolerance * std::fmax(1.0, std::fabs(x)))) {
          return false;
        }
        i = static_cast<std::size_t>(endA - a.c_str());
        j = static_cast<std::size_t>(endB - b.c_str());
        continue;
      }
    }
    if (a[i++] != b[j++]) {
      return false;
    }
  }
  return i == a.size() && j == b.size();
}

// What was appended to a file since the last look.
class FileTail {
 public:
  explicit FileTail(std::string path) : path_(std::move(path)) { take(); }
  std::vector<std::string> take() {
    std::ifstream in(path_, std::ios::binary);
    std::vector<std::string> lines;
    if (!in) {
      return lines;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    if (end < seen_) {
      seen_ = 0;  // rewritten
    }
    in.seekg(seen_);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      lines.push_back(line);
    }
    seen_ = end;
    return lines;
  }

 private:
  std::string path_;
  std::streamoff seen_ = 0;
};

struct Observers {
  FileTail log;
  FileTail journal;

  // The new log messages without their time stamps, then the entry points called, each line
  // and each entry point once: a wait polls the mount as often as the moment allows.
  std::string drain() {
    std::vector<std::string> lines;
    const auto once = [&](std::string line) {
      for (const auto& known : lines) {
        if (known == line) {
          return;
        }
      }
      lines.push_back(std::move(line));
    };
    for (const auto& line : log.take()) {
      const auto mark = line.find(" :");
      once("log: " + (mark == std::string::npos ? line : line.substr(mark + 2)));
    }
    for (const auto& line : journal.take()) {
      once("controller: " + line.substr(0, line.find(' ')));
    }
    std::string seen;
    for (const auto& line : lines) {
      seen += "\n  " + line;
    }
    return seen;
  }
};

struct Outcome {
  HRESULT code = S_OK;
  std::string description;
  std::string value = "empty";  // what a failed call answers
  std::string seen;
};

std::string textOf(BSTR text) {
  return fromWide(text, static_cast<int>(SysStringLen(text)));
}

VARIANT toVariant(const Arg& a) {
  VARIANT v;
  VariantInit(&v);
  if (const auto* d = std::get_if<double>(&a)) {
    V_VT(&v) = VT_R8;
    V_R8(&v) = *d;
  } else if (const auto* i = std::get_if<std::int32_t>(&a)) {
    V_VT(&v) = VT_I4;
    V_I4(&v) = *i;
  } else if (const auto* b = std::get_if<bool>(&a)) {
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = *b ? VARIANT_TRUE : VARIANT_FALSE;
  } else {
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(toWide(std::get<const char*>(a)).c_str());
  }
  return v;
}

DISPID dispidOf(IDispatch* object, const std::string& name) {
  std::wstring wide = toWide(name);
  LPOLESTR names[] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

// Invoke by identifier with the arguments in their written order; the error, if any, in out.
VARIANT invoke(IDispatch* object, DISPID id, WORD flags, const std::vector<Arg>& args,
               Outcome& out) {
  std::vector<VARIANT> values;
  for (auto a = args.rbegin(); a != args.rend(); ++a) {  // DISPPARAMS holds them last-first
    values.push_back(toVariant(*a));
  }
  const bool put = flags == DISPATCH_PROPERTYPUT;  // its value is the one named argument
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{values.data(), put ? &named : nullptr, static_cast<UINT>(values.size()),
                    put ? 1u : 0u};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  UINT argError = 0;
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                    put ? nullptr : &result, &exception, &argError);
  out.code = hr == DISP_E_EXCEPTION ? exception.scode : hr;
  out.description = textOf(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  for (auto& v : values) {
    VariantClear(&v);
  }
  return result;
}

std::string shown(const VARIANT& v) {
  switch (V_VT(&v)) {
    case VT_EMPTY:
      return "empty";
    case VT_BOOL:
      return shown(V_BOOL(&v) != VARIANT_FALSE);
    case VT_I4:
      return shown(static_cast<std::int32_t>(V_I4(&v)));
    case VT_R8:
      return shown(V_R8(&v));
    case VT_DATE:
      return shown(V_DATE(&v));
    case VT_BSTR:
      return shown(textOf(V_BSTR(&v)));
    case VT_DISPATCH: {
      std::string text = "object";
      for (const char* member : testing::every_member::kObjectShownBy) {
        const DISPID id = dispidOf(V_DISPATCH(&v), member);
        if (id == DISPID_UNKNOWN) {
          continue;
        }
        Outcome ignored;
        VARIANT answer = invoke(V_DISPATCH(&v), id, DISPATCH_PROPERTYGET, {}, ignored);
        if (SUCCEEDED(ignored.code)) {
          text += std::string(" ") + member + "=" + shown(answer);
        }
        VariantClear(&answer);
      }
      return text;
    }
    default:
      return "type " + std::to_string(V_VT(&v));
  }
}

std::string described(const Outcome& o) {
  char code[16];
  std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(o.code));
  return std::string(code) + " '" + o.description + "' " + o.value + o.seen;
}

template <class Target>
void walk(const char* iface, const std::vector<Row<Target>>& rows, Target& direct,
          IDispatch* object, Observers& observers) {
  observers.drain();
  for (const auto& row : rows) {
    const std::string what = std::string(iface) + "." + row.name;
    Outcome want;
    server::MemberFailure failure;
    want.code = server::guardMember("", failure, [&] { want.value = row.direct(direct); });
    want.description = failure.description;
    want.seen = observers.drain();

    const DISPID id = dispidOf(object, row.name);
    Outcome got;
    VARIANT result = invoke(object, id, server::binding::invokeFlagOf(row.kind), row.args, got);
    got.value = FAILED(got.code) ? "empty" : shown(result);  // unspecified after a failure
    VariantClear(&result);
    got.seen = observers.drain();

    const bool same = id == row.id && got.code == want.code &&
                      got.description == want.description &&
                      sameOutcome(got.value + got.seen, want.value + want.seen);
    check(same,
          what + (same ? ""
                       : "\n  by name (id " + std::to_string(id) + "): " + described(got) +
                             "\n  direct (id " + std::to_string(row.id) + "): " + described(want)));
  }
}

IDispatch* create(const wchar_t* progId) {
  CLSID clsid{};
  IDispatch* object = nullptr;
  if (SUCCEEDED(CLSIDFromProgID(progId, &clsid))) {
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&object));
  }
  check(object != nullptr, "created " + fromWide(progId));
  return object;
}

// The direct side's own simulated mount: the same simulator under another file name is a
// module of its own, with its own state.
std::string copyOfController(platform::Services& services) {
  const std::string original = controller::controllerLibraryPath(*services.libraries);
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string copy = std::string(folder) + "Tramox_Telescope_walk.dll";
  check(CopyFileA(original.c_str(), copy.c_str(), FALSE) != 0, "copied " + original);
  return copy;
}

void walkEverything(const std::string& journal) {
  platform::Services& services = platform::nativeServices();
  Observers observers{FileTail{services.logPath}, FileTail{journal}};
  _putenv_s("TRAMOX_CONTROLLER", copyOfController(services).c_str());
  driver::DriverRuntime runtime(services);
  _putenv_s("TRAMOX_CONTROLLER", "");
  auto scope = std::make_shared<driver::TTelescope>(runtime);
  IDispatch* telescope = create(L"TRAMOX.Telescope");
  IDispatch* rate = create(L"TRAMOX.Rate");
  IDispatch* trackingRates = create(L"TRAMOX.TrackingRatesCol");
  if (telescope == nullptr || rate == nullptr || trackingRates == nullptr) {
    return;
  }

  // The axis rates come from the mounts, before the walk disconnects them.
  std::shared_ptr<rates::TRates> directAxisRates = scope->AxisRates(1);
  Outcome ignored;
  VARIANT axisRates = invoke(telescope, dispidOf(telescope, "AxisRates"), DISPATCH_METHOD,
                             {std::int32_t{1}}, ignored);
  check(V_VT(&axisRates) == VT_DISPATCH, "AxisRates(1) by name gives an object");
  if (V_VT(&axisRates) != VT_DISPATCH) {
    return;
  }

  rates::TRate directRate;
  walk("IRate", testing::every_member::rateRows(), directRate, rate, observers);
  walk("IAxisRates", testing::every_member::ratesRows(), *directAxisRates, V_DISPATCH(&axisRates),
       observers);
  rates::TTrackingRatesCol directTrackingRates;
  walk("ITrackingRatesCol", testing::every_member::trackingRatesRows(), directTrackingRates,
       trackingRates, observers);
  walk("ITelescope", testing::every_member::telescopeRows(), *scope, telescope, observers);

  VariantClear(&axisRates);
  trackingRates->Release();
  rate->Release();
  telescope->Release();
}

}  // namespace

int main() {
  const char* journal = std::getenv("TRAMOX_SIM_JOURNAL");
  check(journal != nullptr && *journal != 0, "TRAMOX_SIM_JOURNAL names the simulator's journal");
  if (journal == nullptr || *journal == 0) {
    return 1;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const DWORD on = 1, off = 0;
  RegSetKeyValueW(HKEY_CURRENT_USER, L"SOFTWARE\\TRAMOX", L"LogEnabled", REG_DWORD, &on, sizeof on);
  walkEverything(journal);
  RegSetKeyValueW(HKEY_CURRENT_USER, L"SOFTWARE\\TRAMOX", L"LogEnabled", REG_DWORD, &off,
                  sizeof off);
  CoUninitialize();
  return tramox::wine_tests::report("TRAMOX-WALK-RESULT");
}
