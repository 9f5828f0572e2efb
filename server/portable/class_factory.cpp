#include "server/portable/class_factory.h"

#include <array>
#include <memory>

#include "server/binding/automation_objects.h"
#include "server/binding/module_counts.h"
#include "server/portable/module_state.h"

namespace tramox::server::portable {
namespace {

// Runs the class's initialisation: the driver object's construction set-up, an empty
// collection for a client that creates one on its own (logging through the module's log).
ComRef<IDispatch> makeObject(const ClassInfo& cls) {
  if (&cls == &telescopeClass())
    return newTelescopeObject(
        std::make_shared<driver::TTelescope>(ModuleState::instance().runtime()));
  if (&cls == &rateClass())
    return newRateObject(std::make_shared<rates::TRate>());
  if (&cls == &ratesClass()) {
    // Its Item logs like any other: the log works without a driver object.
    driver::DriverRuntime& runtime = ModuleState::instance().runtime();
    return newRatesObject(
        std::make_shared<rates::TRates>(&runtime.log, runtime.services.locale, 0.0, 0.0, 0.0, 0));
  }
  return newTrackingRatesObject(std::make_shared<rates::TTrackingRatesCol>());
}

std::array<ClassFactory, 4>& factories() {
  // Created when the module is loaded, in the order of the class table.
  static std::array<ClassFactory, 4> all{ClassFactory(classes()[0]), ClassFactory(classes()[1]),
                                         ClassFactory(classes()[2]), ClassFactory(classes()[3])};
  return all;
}
const bool kFactoriesMadeAtLoad = (factories(), true);

}  // namespace

HResult ClassFactory::QueryInterface(const Guid& iid, void** object) {
  if (!object)
    return status::kPointer;
  *object = nullptr;
  if (iid != kIidIUnknown && iid != kIidIClassFactory)
    return status::kNoInterface;
  *object = static_cast<IClassFactory*>(this);
  return status::kOk;
}

HResult ClassFactory::CreateInstance(IUnknown* outer, const Guid& iid, void** object) {
  if (!object)
    return status::kPointer;
  *object = nullptr;
  if (outer)
    return status::kNoAggregation;
  try {
    const ComRef<IDispatch> created = makeObject(cls_);
    return created->QueryInterface(iid, object);  // the object dies here without a match
  } catch (const std::bad_alloc&) {
    return status::kOutOfMemory;
  } catch (...) {
    return status::kUnexpected;
  }
}

HResult ClassFactory::LockServer(bool lock) {
  if (lock)
    ModuleCounts::instance().lock();
  else
    ModuleCounts::instance().unlock();
  return status::kOk;
}

std::span<ClassFactory> classFactories() {
  (void)kFactoriesMadeAtLoad;
  return factories();
}

ClassFactory* findFactory(const Guid& clsid) {
  for (ClassFactory& f : classFactories())
    if (f.classInfo().clsid == clsid)
      return &f;
  return nullptr;
}

}  // namespace tramox::server::portable
