#pragma once
// One class factory per automation class, alive as long as the module: every creation request
// makes a new object.
#include <windows.h>

#include <unknwn.h>

#include "server/member_table.h"

namespace tramox::server::win32 {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const ClassInfo& cls) : class_(cls) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  // The factories live as long as the module; their counts only keep COM's rules.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

  const ClassInfo& classInfo() const { return class_; }

 private:
  const ClassInfo& class_;
};

// The factory of a class identity, or nullptr.
ClassFactory* findFactory(REFCLSID clsid);

}  // namespace tramox::server::win32
