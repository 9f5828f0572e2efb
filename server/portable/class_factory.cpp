#include "server/portable/class_factory.h"

#include <array>
#include <memory>

#include "server/binding/automation_objects.h"
#include "server/binding/class_construction.h"
#include "server/binding/module_counts.h"
#include "server/portable/module_state.h"

namespace tramox::server::portable {
namespace {

struct WrapObject {
  ComRef<IDispatch> operator()(std::shared_ptr<driver::TTelescope> t) const {
    return newTelescopeObject(std::move(t));
  }
  ComRef<IDispatch> operator()(std::shared_ptr<rates::TRate> r) const {
    return newRateObject(std::move(r));
  }
  ComRef<IDispatch> operator()(std::shared_ptr<rates::TRates> r) const {
    return newRatesObject(std::move(r));
  }
  ComRef<IDispatch> operator()(std::shared_ptr<rates::TTrackingRatesCol> r) const {
    return newTrackingRatesObject(std::move(r));
  }
};

std::array<ClassFactory, 4>& factories() {
  // Created when the module is loaded, in the order of the class table.
  static std::array<ClassFactory, 4> all{ClassFactory(classes()[0]), ClassFactory(classes()[1]),
                                         ClassFactory(classes()[2]), ClassFactory(classes()[3])};
  return all;
}
const bool kFactoriesMadeAtLoad = (factories(), true);

}  // namespace

HResult ClassFactory::QueryInterface(const Guid& iid, void** object) {
  if (!object) {
    return status::kPointer;
  }
  *object = nullptr;
  if (iid != kIidIUnknown && iid != kIidIClassFactory) {
    return status::kNoInterface;
  }
  *object = static_cast<IClassFactory*>(this);
  return status::kOk;
}

HResult ClassFactory::CreateInstance(IUnknown* outer, const Guid& iid, void** object) {
  if (!object) {
    return status::kPointer;
  }
  *object = nullptr;
  if (outer) {
    return status::kNoAggregation;
  }
  // Construction runs the class's initialisation; its failures follow the member rule.
  ComRef<IDispatch> created;
  MemberFailure failure;
  const HResult hr = guardMember(cls_.progId, failure, [&] {
    created = constructInstance(cls_, ModuleState::instance().runtime(), WrapObject{});
  });
  if (status::failed(hr)) {
    return hr;
  }
  return created->QueryInterface(iid, object);  // the object dies here without a match
}

HResult ClassFactory::LockServer(bool lock) {
  if (lock) {
    ModuleCounts::instance().lock();
  } else {
    ModuleCounts::instance().unlock();
  }
  return status::kOk;
}

std::span<ClassFactory> classFactories() {
  (void)kFactoriesMadeAtLoad;
  return factories();
}

ClassFactory* findFactory(const Guid& clsid) {
  for (ClassFactory& f : classFactories()) {
    if (f.classInfo().clsid == clsid) {
      return &f;
    }
  }
  return nullptr;
}

}  // namespace tramox::server::portable
