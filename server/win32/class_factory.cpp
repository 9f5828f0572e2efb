#include "server/win32/class_factory.h"

#include <array>
#include <exception>
#include <new>

#include "server/win32/automation_classes.h"
#include "server/win32/error_info.h"

namespace tramox::server::win32 {

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  *object = nullptr;
  if (outer != nullptr) {
    return CLASS_E_NOAGGREGATION;
  }
  // Construction runs the class's initialisation; its failures follow the member rule.
  MemberFailure failure;
  HRESULT created = S_OK;
  const status::HResult hr =
      guardMember(class_.progId, failure, [&] { created = createInstance(class_, iid, object); });
  if (status::failed(hr)) {
    publishErrorInfo(failure, toGuid(class_.defaultInterface->iid));
    return hr;
  }
  return created;
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    binding::ModuleCounts::instance().lock();
  } else {
    binding::ModuleCounts::instance().unlock();
  }
  return S_OK;
}

ClassFactory* findFactory(REFCLSID clsid) {
  // Made when the module loads, in this order: Rate, Rates, TrackingRatesCol, Telescope.
  static std::array<ClassFactory, 4> factories{
      ClassFactory(rateClass()),
      ClassFactory(ratesClass()),
      ClassFactory(trackingRatesColClass()),
      ClassFactory(telescopeClass()),
  };
  for (ClassFactory& factory : factories) {
    if (IsEqualCLSID(clsid, toGuid(factory.classInfo().clsid))) {
      return &factory;
    }
  }
  return nullptr;
}

}  // namespace tramox::server::win32
