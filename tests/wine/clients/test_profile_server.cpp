// A stand-in for the ASCOM platform's "DriverHelper.Profile", for the tests under Wine: an
// in-process automation object with WriteValue(DriverID, Name, Value) and GetValue(DriverID,
// Name) that keeps its values under HKCU\Software\TRAMOX Test Profile\<DriverID>, so a value
// written by one client process is read by the next.
#include <windows.h>

#include <oleauto.h>

#include <string>

namespace {

constexpr CLSID kClsid = {
    0x5c0f1d2e, 0x7a43, 0x4b9e, {0x9d, 0x51, 0x2e, 0x6a, 0x13, 0x77, 0xc4, 0x08}};
constexpr const wchar_t* kClsidText = L"{5C0F1D2E-7A43-4B9E-9D51-2E6A1377C408}";
constexpr const wchar_t* kProgId = L"DriverHelper.Profile";
constexpr const wchar_t* kStoreRoot = L"Software\\TRAMOX Test Profile\\";
constexpr DISPID kWriteValue = 1;
constexpr DISPID kGetValue = 2;

HINSTANCE moduleHandle = nullptr;
LONG liveObjects = 0;

std::wstring textArgument(const DISPPARAMS* params, UINT position) {
  // Arguments arrive last-first.
  VARIANT copy;
  VariantInit(&copy);
  const VARIANT& source = params->rgvarg[params->cArgs - 1 - position];
  if (FAILED(VariantChangeType(&copy, const_cast<VARIANT*>(&source), 0, VT_BSTR))) {
    return {};
  }
  std::wstring text(copy.bstrVal, SysStringLen(copy.bstrVal));
  VariantClear(&copy);
  return text;
}

class Profile final : public IDispatch {
 public:
  Profile() { InterlockedIncrement(&liveObjects); }
  ~Profile() { InterlockedDecrement(&liveObjects); }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      delete this;
    }
    return left;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (i == 0 && lstrcmpiW(names[0], L"WriteValue") == 0) {
        ids[0] = kWriteValue;
      }
      if (i == 0 && lstrcmpiW(names[0], L"GetValue") == 0) {
        ids[0] = kGetValue;
      }
      if (ids[i] == DISPID_UNKNOWN) {
        hr = DISP_E_UNKNOWNNAME;
      }
    }
    return hr;
  }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override {
    if (member == kWriteValue) {
      if (params->cArgs != 3) {
        return DISP_E_BADPARAMCOUNT;
      }
      const std::wstring key = kStoreRoot + textArgument(params, 0);
      const std::wstring name = textArgument(params, 1);
      const std::wstring value = textArgument(params, 2);
      return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, value.c_str(),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
                     ERROR_SUCCESS
                 ? S_OK
                 : E_FAIL;
    }
    if (member == kGetValue) {
      if (params->cArgs != 2) {
        return DISP_E_BADPARAMCOUNT;
      }
      const std::wstring key = kStoreRoot + textArgument(params, 0);
      const std::wstring name = textArgument(params, 1);
      wchar_t buffer[512] = {};
      DWORD size = sizeof buffer;
      std::wstring value;
      if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                       &size) == ERROR_SUCCESS) {
        value = buffer;
      }
      if (result != nullptr) {
        VariantInit(result);
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(value.c_str());
      }
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  LONG references_ = 0;
};

class Factory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    auto* profile = new Profile();
    profile->AddRef();
    const HRESULT hr = profile->QueryInterface(iid, object);
    profile->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory factory;

bool setDefault(const std::wstring& key, const std::wstring& value, const wchar_t* name = nullptr) {
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    moduleHandle = module;
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!IsEqualCLSID(clsid, kClsid)) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return liveObjects == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(moduleHandle, path, MAX_PATH);
  const std::wstring classKey = std::wstring(L"CLSID\\") + kClsidText;
  const bool ok = setDefault(classKey, L"Test ASCOM profile") &&
                  setDefault(classKey + L"\\InprocServer32", path) &&
                  setDefault(classKey + L"\\InprocServer32", L"Apartment", L"ThreadingModel") &&
                  setDefault(kProgId, L"Test ASCOM profile") &&
                  setDefault(std::wstring(kProgId) + L"\\CLSID", kClsidText);
  return ok ? S_OK : E_FAIL;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsidText).c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  return S_OK;
}
