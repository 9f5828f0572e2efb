#include "platform/win32/com_profile_store.h"

#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <stdexcept>
#include <vector>

#include "platform/win32/wide_text.h"

namespace tramox::platform::win32 {
namespace {

[[noreturn]] void fail(const std::string& what, HRESULT hr) {
  throw std::runtime_error(what + ": " + systemMessage(static_cast<unsigned long>(hr)));
}

// A VARIANT that frees what it holds.
struct Variant : VARIANT {
  Variant() { VariantInit(this); }
  explicit Variant(const std::string& text) {
    VariantInit(this);
    vt = VT_BSTR;
    const std::wstring wide = toWide(text);
    bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(this); }
};

class Dispatch {
 public:
  Dispatch() {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(toWide(ComProfileStore::kProgId).c_str(), &clsid);
    if (SUCCEEDED(hr)) {
      hr = create(clsid);
      if (hr == CO_E_NOTINITIALIZED) {
        // A caller outside any apartment (a plain program rather than a COM client): join
        // one for the rest of this thread's life, as the driver's own clients do.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        hr = create(clsid);
      }
    }
    if (FAILED(hr)) {
      fail("Cannot create \"DriverHelper.Profile\"", hr);
    }
  }
  Dispatch(const Dispatch&) = delete;
  Dispatch& operator=(const Dispatch&) = delete;
  ~Dispatch() {
    if (object_ != nullptr) {
      object_->Release();
    }
  }

  // Arguments in the caller's order; IDispatch wants them reversed.
  void call(const wchar_t* member, std::vector<const Variant*> arguments, VARIANT* result) {
    LPOLESTR name = const_cast<LPOLESTR>(member);
    DISPID dispid = 0;
    HRESULT hr = object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispid);
    if (FAILED(hr)) {
      fail("DriverHelper.Profile has no member " + fromWide(member), hr);
    }
    std::vector<VARIANTARG> reversed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) {
      reversed.push_back(**it);  // shallow copies: the Variants keep ownership
    }
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception{};
    hr = object_->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result,
                         &exception, nullptr);
    if (hr == DISP_E_EXCEPTION) {
      std::string description =
          exception.bstrDescription ? fromWide(exception.bstrDescription) : std::string();
      SysFreeString(exception.bstrDescription);
      SysFreeString(exception.bstrSource);
      SysFreeString(exception.bstrHelpFile);
      throw std::runtime_error(description.empty() ? "DriverHelper.Profile failed" : description);
    }
    if (FAILED(hr)) {
      fail("DriverHelper.Profile." + fromWide(member) + " failed", hr);
    }
  }

 private:
  HRESULT create(const CLSID& clsid) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                            IID_IDispatch, reinterpret_cast<void**>(&object_));
  }

  IDispatch* object_ = nullptr;
};

}  // namespace

void ComProfileStore::writeValue(const std::string& driverId, const std::string& name,
                                 const std::string& text) {
  Dispatch profile;
  Variant id(driverId), valueName(name), value(text);
  profile.call(L"WriteValue", {&id, &valueName, &value}, nullptr);
}

std::string ComProfileStore::getValue(const std::string& driverId, const std::string& name) {
  Dispatch profile;
  Variant id(driverId), valueName(name), result;
  profile.call(L"GetValue", {&id, &valueName}, &result);
  if (result.vt == VT_EMPTY || result.vt == VT_NULL) {
    return {};
  }
  if (FAILED(VariantChangeType(&result, &result, 0, VT_BSTR))) {
    throw std::runtime_error("DriverHelper.Profile.GetValue returned no text");
  }
  return fromWide(result.bstrVal, static_cast<int>(SysStringLen(result.bstrVal)));
}

}  // namespace tramox::platform::win32
