#pragma once
// The module's four class factories, made when the module loads, in the order Rate, Rates,
// TrackingRatesCol, Telescope. Each makes a new object per request ("multiple instances").
// A factory reference does not keep the module busy; LockServer does.
#include <span>

#include "server/binding/abi.h"

namespace tramox::server::portable {

// The runtime speaks the binding's interfaces and variants.
using namespace binding;

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const ClassInfo& cls) : cls_(cls) {}

  HResult QueryInterface(const Guid& iid, void** object) override;
  std::uint32_t AddRef() override { return 2; }  // lives as long as the module
  std::uint32_t Release() override { return 1; }
  HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) override;
  HResult LockServer(bool lock) override;

  const ClassInfo& classInfo() const { return cls_; }

 private:
  const ClassInfo& cls_;
};

// In creation order; nullptr-free.
std::span<ClassFactory> classFactories();
ClassFactory* findFactory(const Guid& clsid);

}  // namespace tramox::server::portable
