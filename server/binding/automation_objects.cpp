#include "server/binding/automation_objects.h"

#include "server/binding/collection_object.h"

namespace tramox::server::binding {

namespace {
template <class Object, class... A>
ComRef<IDispatch> adoptNew(A&&... args) {
  return ComRef<IDispatch>::adopt(new Object(std::forward<A>(args)...));
}
}  // namespace

ComRef<IDispatch> newTelescopeObject(std::shared_ptr<driver::TTelescope> telescope) {
  return adoptNew<DispatchObject<driver::TTelescope>>(telescopeClass(), telescopeInvokers(),
                                                      std::move(telescope));
}

ComRef<IDispatch> newRateObject(std::shared_ptr<rates::TRate> rate) {
  return adoptNew<DispatchObject<rates::TRate>>(rateClass(), rateInvokers(), std::move(rate));
}

ComRef<IDispatch> newRatesObject(std::shared_ptr<rates::TRates> rates) {
  return adoptNew<CollectionObject<rates::TRates>>(ratesClass(), ratesInvokers(), std::move(rates));
}

ComRef<IDispatch> newTrackingRatesObject(std::shared_ptr<rates::TTrackingRatesCol> rates) {
  return adoptNew<CollectionObject<rates::TTrackingRatesCol>>(
      trackingRatesColClass(), trackingRatesInvokers(), std::move(rates));
}

// Clone: a new collection object over an independent copy that continues from the same
// position, so a client can look ahead without moving the original's cursor.
template <class Collection>
HResult CollectionObject<Collection>::Clone(IEnumVariant** enumerator) {
  if (!enumerator) {
    return status::kPointer;
  }
  *enumerator = nullptr;
  try {
    auto* copy = new CollectionObject<Collection>(this->classInfo(), this->invokers(),
                                                  this->target().Clone());
    *enumerator = copy;
    return status::kOk;
  } catch (...) {
    return status::kOutOfMemory;
  }
}

template class CollectionObject<rates::TRates>;
template class CollectionObject<rates::TTrackingRatesCol>;

}  // namespace tramox::server::binding
