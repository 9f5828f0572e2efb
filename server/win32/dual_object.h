#pragma once
// The base of every automation object of the module: reference counting, IDispatch served
// from the module's type library, and error information under the one failure rule.
#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include "server/binding/module_counts.h"
#include "server/failure_rule.h"
#include "server/member_table.h"
#include "server/win32/com_guid.h"
#include "server/win32/com_module.h"
#include "server/win32/error_info.h"

namespace tramox::server::win32 {

template <class Interface>
class DualObject : public Interface, public ISupportErrorInfo {
 public:
  explicit DualObject(const ClassInfo& cls)
      : class_(cls), interfaceId_(toGuid(cls.defaultInterface->iid)) {}
  virtual ~DualObject() = default;
  DualObject(const DualObject&) = delete;
  DualObject& operator=(const DualObject&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, interfaceId_)) {
      *object = static_cast<Interface*>(this);
    } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
      *object = static_cast<ISupportErrorInfo*>(this);
    } else {
      *object = queryOther(iid);
    }
    if (*object == nullptr) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) {
      return E_POINTER;
    }
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) {
      return E_POINTER;
    }
    *info = nullptr;
    if (index != 0) {
      return DISP_E_BADINDEX;
    }
    ITypeInfo* mine = typeInfo();
    if (mine == nullptr) {
      return TYPE_E_CANTLOADLIBRARY;
    }
    mine->AddRef();
    *info = mine;
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    ITypeInfo* mine = typeInfo();
    if (mine == nullptr) {
      return TYPE_E_CANTLOADLIBRARY;
    }
    return mine->GetIDsOfNames(names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override {
    ITypeInfo* mine = typeInfo();
    if (mine == nullptr) {
      return TYPE_E_CANTLOADLIBRARY;
    }
    Interface* self = this;
    HRESULT hr = mine->Invoke(self, member, flags, params, result, exception, argError);
    // Wine's JScript asks for _NewEnum and default members as methods only, which the type
    // library answers with "member not found" for a property: ask again as a property read.
    if (hr == DISP_E_MEMBERNOTFOUND && flags == DISPATCH_METHOD) {
      hr = mine->Invoke(self, member, DISPATCH_PROPERTYGET, params, result, exception, argError);
    }
    return hr;
  }

  // ISupportErrorInfo: every interface of the object reports its failures.
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

 protected:
  // Further interfaces (IEnumVARIANT); nullptr when not supported. No reference added.
  virtual void* queryOther(REFIID) { return nullptr; }

  // Runs a member under the failure rule.
  template <class Body>
  HRESULT run(Body&& body) noexcept {
    MemberFailure failure;
    const status::HResult hr = guardMember(class_.progId, failure, body);
    if (status::failed(hr)) {
      publishErrorInfo(failure, interfaceId_);
    }
    return hr;
  }

  const ClassInfo& classInfo() const { return class_; }

 private:
  ITypeInfo* typeInfo() { return ComModule::instance().typeInfo(interfaceId_); }

  const ClassInfo& class_;
  const IID interfaceId_;
  volatile LONG references_ = 0;
  binding::LiveObjectToken token_;
};

}  // namespace tramox::server::win32
