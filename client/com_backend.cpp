// The tramox client on Windows: a real COM client of the registered module, in a
// single-threaded apartment whose messages it pumps between commands, so that the paddle
// window the module makes on this thread answers as it would in any script host.
#include <windows.h>

#include <oleauto.h>

#include <chrono>
#include <cstdio>
#include <map>

#include "client/client_backend.h"
#include "client/client_environment.h"
#include "client/com_paddle.h"
#include "client/message_lines.h"
#include "client/value_format.h"
#include "driver/failure_reasons.h"
#include "platform/win32/wide_text.h"
#include "server/argument_position.h"
#include "server/binding/abi.h"
#include "server/status_codes.h"
#include "server/win32/com_guid.h"

namespace tramox::client {
namespace {

namespace status = server::status;
using platform::win32::fromWide;
using platform::win32::toWide;
using server::win32::toGuid;

constexpr const char* kMessageFileVariable = "TRAMOX_MESSAGE_FILE";

// dispatchFlags answers in the binding's flags, which are the platform's.
static_assert(server::binding::kDispatchMethod == DISPATCH_METHOD &&
              server::binding::kDispatchPropertyGet == DISPATCH_PROPERTYGET &&
              server::binding::kDispatchPropertyPut == DISPATCH_PROPERTYPUT);

std::string fromBstr(BSTR text) {
  return text ? fromWide(text, static_cast<int>(SysStringLen(text))) : std::string();
}

// One reference to the object's identity, one to its IDispatch when it has one.
class ComObject final : public ClientObject {
 public:
  ComObject(IUnknown* identity, IDispatch* dispatch) : identity_(identity), dispatch_(dispatch) {}
  ~ComObject() override {
    if (dispatch_) {
      dispatch_->Release();
    }
    identity_->Release();
  }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  const void* identity() const override { return identity_; }
  IUnknown* unknown() const { return identity_; }
  IDispatch* dispatch() const { return dispatch_; }

 private:
  IUnknown* identity_;
  IDispatch* dispatch_;
};

ObjectRef wrap(IUnknown* object) {
  if (object == nullptr) {
    return nullptr;
  }
  IUnknown* identity = nullptr;
  if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
    return nullptr;
  }
  IDispatch* dispatch = nullptr;
  if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    dispatch = nullptr;
  }
  return std::make_shared<ComObject>(identity, dispatch);
}

ComObject& comOf(ClientObject& object) {
  return static_cast<ComObject&>(object);
}

// Takes the variant's content (the variant is cleared).
Value fromVariant(VARIANT& v) {
  Value value;
  switch (V_VT(&v)) {
    case VT_EMPTY:
    case VT_NULL:
      break;
    case VT_BOOL:
      value.kind = Value::Kind::Bool;
      value.boolean = V_BOOL(&v) != VARIANT_FALSE;
      break;
    case VT_I4:
      value.kind = Value::Kind::Int32;
      value.int32 = V_I4(&v);
      break;
    case VT_R8:
      value.kind = Value::Kind::Double;
      value.number = V_R8(&v);
      break;
    case VT_DATE:
      value.kind = Value::Kind::Date;
      value.number = V_DATE(&v);
      break;
    case VT_BSTR:
      value.kind = Value::Kind::Text;
      value.text = fromBstr(V_BSTR(&v));
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      value.kind = Value::Kind::Object;
      value.object = wrap(V_UNKNOWN(&v));
      break;
    default: {
      // Types the driver does not hand out: shown in the nearest form the client prints.
      VARIANT converted;
      VariantInit(&converted);
      for (VARTYPE to : {VARTYPE(VT_I4), VARTYPE(VT_R8), VARTYPE(VT_BSTR)}) {
        if (SUCCEEDED(VariantChangeType(&converted, &v, 0, to))) {
          value = fromVariant(converted);
          break;
        }
      }
      VariantClear(&converted);
      break;
    }
  }
  VariantClear(&v);
  return value;
}

VARIANT toVariant(const Value& value) {
  VARIANT v;
  VariantInit(&v);
  switch (value.kind) {
    case Value::Kind::Empty:
      break;
    case Value::Kind::Bool:
      V_VT(&v) = VT_BOOL;
      V_BOOL(&v) = value.boolean ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Value::Kind::Int32:
      V_VT(&v) = VT_I4;
      V_I4(&v) = value.int32;
      break;
    case Value::Kind::Double:
      V_VT(&v) = VT_R8;
      V_R8(&v) = value.number;
      break;
    case Value::Kind::Date:
      V_VT(&v) = VT_DATE;
      V_DATE(&v) = value.number;
      break;
    case Value::Kind::Text: {
      const std::wstring wide = toWide(value.text);
      V_VT(&v) = VT_BSTR;
      V_BSTR(&v) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      break;
    }
    case Value::Kind::Object:
      V_VT(&v) = VT_DISPATCH;
      V_DISPATCH(&v) = value.object ? comOf(*value.object).dispatch() : nullptr;
      if (V_DISPATCH(&v)) {
        V_DISPATCH(&v)->AddRef();
      }
      break;
  }
  return v;
}

void takeException(EXCEPINFO& excep, CallResult& result) {
  if (excep.pfnDeferredFillIn) {
    excep.pfnDeferredFillIn(&excep);
  }
  result.error.scode = excep.scode != 0 ? static_cast<std::int32_t>(excep.scode)
                                        : static_cast<std::int32_t>(DISP_E_EXCEPTION);
  result.error.source = fromBstr(excep.bstrSource);
  result.error.description = fromBstr(excep.bstrDescription);
  // COM's error information has no field for the reason: the driver's table tells it again.
  result.error.reason = driver::failureReason(result.error.scode, result.error.description);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
}

std::wstring exeFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  const std::size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

// The file beside tramox.exe when there is one, else where the build put it.
std::string besideClientOr(const wchar_t* fileName, const std::string& built) {
  const std::wstring beside = exeFolder() + L"\\" + fileName;
  if (GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return fromWide(beside);
  }
  return built;
}

class ComBackend final : public IClientBackend {
 public:
  // sink, when given, shows the module's message windows as they come, instead of
  // takeMessages.
  explicit ComBackend(platform::IMessageWindows* sink) : sink_(sink) {
    initialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    // Message windows would wait for a click: the module appends them to a file of ours
    // instead, which is printed after each command.
    wchar_t folder[MAX_PATH] = {};
    wchar_t file[MAX_PATH] = {};
    if (GetTempPathW(MAX_PATH, folder) > 0 && GetTempFileNameW(folder, L"trx", 0, file) != 0) {
      messageFile_ = file;
      setEnvironment(kMessageFileVariable, fromWide(messageFile_));
    }
  }

  ~ComBackend() override {
    if (initialized_) {
      CoUninitialize();
    }
    if (!messageFile_.empty()) {
      DeleteFileW(messageFile_.c_str());
    }
  }
  ComBackend(const ComBackend&) = delete;
  ComBackend& operator=(const ComBackend&) = delete;

  std::int32_t createDriver(ObjectRef& driver, std::string& why) override {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(toWide(kDriverProgId).c_str(), &clsid);
    if (SUCCEEDED(hr)) {
      IDispatch* created = nullptr;
      hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(&created));
      if (SUCCEEDED(hr)) {
        driver = wrap(created);
        created->Release();
        forwardMessages();
        return driver ? status::kOk : status::kNoInterface;
      }
    }
    why = platform::win32::systemMessage(static_cast<unsigned long>(hr));
    forwardMessages();
    return hr;
  }

  CallResult invoke(ClientObject& object, const std::string& member, CallKind kind,
                    const std::vector<Value>& positional,
                    const std::vector<NamedValue>& named) override {
    CallResult result;
    IDispatch* dispatch = comOf(object).dispatch();
    if (dispatch == nullptr) {
      result.hr = status::kNoInterface;
      return result;
    }
    std::vector<std::wstring> wideNames{toWide(member)};
    for (const NamedValue& n : named) {
      wideNames.push_back(toWide(n.name));
    }
    std::vector<LPOLESTR> names;
    for (std::wstring& n : wideNames) {
      names.push_back(n.data());
    }
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    result.hr = dispatch->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                        LOCALE_USER_DEFAULT, ids.data());
    if (FAILED(result.hr)) {
      for (std::size_t i = 1; i < ids.size() && ids[0] != DISPID_UNKNOWN; ++i) {
        if (ids[i] == DISPID_UNKNOWN) {
          result.unknownParameter = named[i - 1].name;
          break;
        }
      }
      return result;
    }
    const bool put = kind == CallKind::Put;
    if (put && !named.empty()) {
      // The put value has to be the first named argument; named indexes do not mix with it.
      result.hr = DISP_E_BADPARAMCOUNT;
      return result;
    }
    // DISPPARAMS order: named arguments first, then the positional ones last-first.
    std::vector<VARIANT> args;
    std::vector<DISPID> namedIds;
    if (put) {
      namedIds.push_back(DISPID_PROPERTYPUT);
    }
    for (std::size_t i = 0; i < named.size(); ++i) {
      args.push_back(toVariant(named[i].value));
      namedIds.push_back(ids[i + 1]);
    }
    for (auto it = positional.rbegin(); it != positional.rend(); ++it) {
      args.push_back(toVariant(*it));
    }
    DISPPARAMS params{args.data(), namedIds.data(), static_cast<UINT>(args.size()),
                      static_cast<UINT>(namedIds.size())};
    const WORD flags = dispatchFlags(kind);
    VARIANT value;
    VariantInit(&value);
    EXCEPINFO excep{};
    UINT argErr = 0;
    result.hr = dispatch->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                 put ? nullptr : &value, &excep, &argErr);
    forwardMessages();
    for (VARIANT& a : args) {
      VariantClear(&a);
    }
    if (result.hr == DISP_E_EXCEPTION) {
      takeException(excep, result);
    }
    result.value = fromVariant(value);
    result.argErr =
        server::argumentInCallOrder(argErr, put, static_cast<std::uint32_t>(namedIds.size()),
                                    static_cast<std::uint32_t>(positional.size()), params.cArgs);
    return result;
  }

  CallResult newEnum(ClientObject& object) override {
    CallResult result;
    IDispatch* dispatch = comOf(object).dispatch();
    if (dispatch == nullptr) {
      result.hr = status::kNoInterface;
      return result;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO excep{};
    result.hr =
        dispatch->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                         DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &answer, &excep, nullptr);
    if (result.hr == DISP_E_EXCEPTION) {
      takeException(excep, result);
    }
    IEnumVARIANT* enumerator = nullptr;
    if (SUCCEEDED(result.hr) && (V_VT(&answer) == VT_UNKNOWN || V_VT(&answer) == VT_DISPATCH) &&
        V_UNKNOWN(&answer) != nullptr &&
        SUCCEEDED(V_UNKNOWN(&answer)->QueryInterface(IID_IEnumVARIANT,
                                                     reinterpret_cast<void**>(&enumerator)))) {
      result.value.kind = Value::Kind::Object;
      result.value.object = std::make_shared<ComObject>(enumerator, nullptr);
    }
    VariantClear(&answer);
    return result;
  }

  std::int32_t next(ClientObject& enumerator, std::uint32_t count,
                    std::vector<Value>& items) override {
    auto* e = static_cast<IEnumVARIANT*>(comOf(enumerator).unknown());
    std::vector<VARIANT> fetched(count);
    for (VARIANT& v : fetched) {
      VariantInit(&v);
    }
    ULONG total = 0;
    const HRESULT hr = e->Next(count, fetched.data(), &total);
    for (std::uint32_t i = 0; i < count; ++i) {
      if (i < total) {
        items.push_back(fromVariant(fetched[i]));
      } else {
        VariantClear(&fetched[i]);
      }
    }
    return hr;
  }

  bool supports(ClientObject& object, const server::Guid& iid) override {
    const GUID wanted = toGuid(iid);
    IUnknown* probe = nullptr;
    if (FAILED(comOf(object).unknown()->QueryInterface(wanted, reinterpret_cast<void**>(&probe)))) {
      return false;
    }
    probe->Release();
    return true;
  }

  std::int32_t canUnloadNow() override {
    // Asked of the registered module as loaded in this process; a module not loaded has
    // nothing to keep.
    const std::wstring path = registeredModule();
    if (path.empty()) {
      return status::kOk;
    }
    HMODULE module = GetModuleHandleW(path.c_str());
    if (module == nullptr) {
      const std::size_t slash = path.find_last_of(L"\\/");
      module = GetModuleHandleW(path.substr(slash == std::wstring::npos ? 0 : slash + 1).c_str());
    }
    if (module == nullptr) {
      return status::kOk;
    }
    using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
    auto fn = reinterpret_cast<CanUnloadFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return fn ? fn() : status::kOk;
  }

  std::optional<std::vector<platform::PaddleControlState>> paddleControls() override {
    pump();
    return readPaddle();
  }

  platform::IPaddleEvents* paddleEvents() override {
    pump();
    return findPaddleWindow() != nullptr ? &paddleEvents_ : nullptr;
  }

  std::vector<std::string> takeMessages() override {
    pump();
    if (sink_ == nullptr) {
      return readMessages();
    }
    forwardMessages();
    return {};
  }

  void wait(double seconds) override {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      pump();
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          until - std::chrono::steady_clock::now());
      if (left.count() <= 0) {
        break;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    }
    // Windows raised by the module's timers meanwhile.
    forwardMessages();
  }

  std::int32_t registerModule(const std::string& path) override {
    return callEntry(path, "DllRegisterServer");
  }
  std::int32_t unregisterModule(const std::string& path) override {
    return callEntry(path, "DllUnregisterServer");
  }

  bool driverRegistered() override {
    const std::wstring registered = registeredModule();
    return !registered.empty() && GetFileAttributesW(registered.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::string lastLoadError() const override { return lastLoadError_; }

 private:
  // What the module appended to the message file since the last read.
  std::vector<std::string> readMessages() {
    if (messageFile_.empty()) {
      return {};
    }
    FILE* file = _wfopen(messageFile_.c_str(), L"rb");
    if (file == nullptr) {
      return {};
    }
    std::string appended;
    if (std::fseek(file, messageOffset_, SEEK_SET) == 0) {
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        appended.append(buffer, n);
      }
    }
    std::fclose(file);
    messageOffset_ += static_cast<long>(appended.size());
    return lines_.feed(appended);
  }

  // The module's windows go to the sink as soon as the call that raised them returns (no
  // pumping here: that would serve the host's queued calls inside this one).
  void forwardMessages() {
    if (sink_ == nullptr) {
      return;
    }
    for (const std::string& line : readMessages()) {
      showMessageLine(line, *sink_);
    }
  }

  // The paddle window and the module's timers live on this thread.
  static void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  // HKCR\CLSID\{...}\InprocServer32 of "TRAMOX.Telescope"; empty when not registered.
  static std::wstring registeredModule() {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(toWide(kDriverProgId).c_str(), &clsid))) {
      return L"";
    }
    wchar_t text[64] = {};
    if (StringFromGUID2(clsid, text, 64) == 0) {
      return L"";
    }
    const std::wstring key = std::wstring(L"CLSID\\") + text + L"\\InprocServer32";
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path,
                     &size) != ERROR_SUCCESS) {
      return L"";
    }
    return path;
  }

  std::int32_t callEntry(const std::string& path, const char* name) {
    // Modules stay loaded: what they made may still be referenced.
    auto found = modules_.find(path);
    if (found == modules_.end()) {
      HMODULE module = LoadLibraryW(toWide(path).c_str());
      if (module == nullptr) {
        lastLoadError_ = platform::win32::systemMessage(GetLastError());
        return status::kFail;
      }
      found = modules_.emplace(path, module).first;
    }
    using EntryFn = HRESULT(STDAPICALLTYPE*)();
    auto fn =
        reinterpret_cast<EntryFn>(reinterpret_cast<void*>(GetProcAddress(found->second, name)));
    if (fn == nullptr) {
      lastLoadError_ = std::string("the module does not export ") + name;
      return status::kFail;
    }
    return fn();
  }

  platform::IMessageWindows* sink_;
  WindowPaddleEvents paddleEvents_{[this] {
    pump();
    forwardMessages();
  }};
  bool initialized_ = false;
  std::wstring messageFile_;
  long messageOffset_ = 0;
  MessageLines lines_;
  std::map<std::string, HMODULE> modules_;
  std::string lastLoadError_;
};

}  // namespace

std::unique_ptr<IClientBackend> makeClientBackend(platform::IClock*,
                                                  platform::IMessageWindows* lentMessages) {
  return std::make_unique<ComBackend>(lentMessages);
}

std::string defaultModulePath() {
  return besideClientOr(L"TRAMOX.dll", TRAMOX_MODULE_PATH);
}

std::string simulatorPath() {
  return besideClientOr(L"Tramox_Telescope.dll", TRAMOX_SIMULATOR_PATH);
}

}  // namespace tramox::client
