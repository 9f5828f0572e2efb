#include "server/win32/automation_classes.h"

#include <new>

#include "common/driver_error.h"
#include "server/binding/class_construction.h"

namespace tramox::server::win32 {
namespace {

// Hands out the requested interface of a new object; the object dies if the client gets none.
template <class Object>
HRESULT handOut(Object* object, REFIID iid, void** out) {
  object->AddRef();
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

template <class Object, class Interface, class Value>
void storeObject(Interface** out, Value value) {
  *out = nullptr;
  if (!value) {
    return;
  }
  auto* object = new Object(std::move(value));
  object->AddRef();
  *out = static_cast<Interface*>(object);
}

VARIANT rateVariant(std::shared_ptr<rates::TRate> rate) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  store(&V_DISPATCH(&v), std::move(rate));
  return v;
}

VARIANT driveRateVariant(std::int32_t rate) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = rate;
  return v;
}

VARIANT elementVariant(std::shared_ptr<rates::TRate> rate) {
  return rateVariant(std::move(rate));
}
VARIANT elementVariant(std::int32_t rate) {
  return driveRateVariant(rate);
}

}  // namespace

void store(IRates** out, std::shared_ptr<rates::TRates> value) {
  storeObject<RatesObject>(out, std::move(value));
}

void store(ITrackingRatesCol** out, std::shared_ptr<rates::TTrackingRatesCol> value) {
  storeObject<TrackingRatesObject>(out, std::move(value));
}

void store(IDispatch** out, std::shared_ptr<rates::TRate> value) {
  *out = nullptr;
  if (!value) {
    return;
  }
  auto* object = new RateObject(std::move(value));
  object->AddRef();
  *out = static_cast<IRate*>(object);
}

TelescopeObject::TelescopeObject(std::shared_ptr<driver::TTelescope> telescope)
    : DualObject(telescopeClass()), telescope_(std::move(telescope)) {}

RateObject::RateObject(std::shared_ptr<rates::TRate> rate)
    : DualObject(rateClass()), rate_(std::move(rate)) {}

template <class Interface, class Collection>
STDMETHODIMP CollectionObject<Interface, Collection>::Next(ULONG count, VARIANT* items,
                                                           ULONG* fetched) {
  if (items == nullptr || (count > 1 && fetched == nullptr)) {
    return E_POINTER;
  }
  if (fetched != nullptr) {
    *fetched = 0;
  }
  auto result = collection_->Next(count);
  if (result.status != rates::kSOk && result.status != rates::kSFalse) {
    // A failed element ends the call: nothing is handed out that the client would not free.
    MemberFailure failure{result.status, std::string(this->classInfo().progId), result.errorMessage,
                          reasonForCode(result.status)};
    publishErrorInfo(failure, toGuid(this->classInfo().defaultInterface->iid));
    return result.status;
  }
  try {
    ULONG produced = 0;
    for (auto& element : result.elements) {
      items[produced++] = elementVariant(std::move(element));
    }
    if (fetched != nullptr) {
      *fetched = produced;
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return result.status == rates::kSOk ? S_OK : S_FALSE;
}

template <class Interface, class Collection>
STDMETHODIMP CollectionObject<Interface, Collection>::Skip(ULONG count) {
  return collection_->Skip(count) == rates::kSOk ? S_OK : S_FALSE;
}

template <class Interface, class Collection>
STDMETHODIMP CollectionObject<Interface, Collection>::Reset() {
  collection_->Reset();
  return S_OK;
}

RatesObject::RatesObject(std::shared_ptr<rates::TRates> rates)
    : CollectionObject(ratesClass(), std::move(rates)) {}

STDMETHODIMP RatesObject::Clone(IEnumVARIANT** enumerator) {
  if (enumerator == nullptr) {
    return E_POINTER;
  }
  *enumerator = nullptr;
  return run([&] {
    auto* copy = new RatesObject(collection_->Clone());
    copy->AddRef();
    *enumerator = static_cast<IEnumVARIANT*>(copy);
  });
}

TrackingRatesObject::TrackingRatesObject(std::shared_ptr<rates::TTrackingRatesCol> rates)
    : CollectionObject(trackingRatesColClass(), std::move(rates)) {}

STDMETHODIMP TrackingRatesObject::Clone(IEnumVARIANT** enumerator) {
  if (enumerator == nullptr) {
    return E_POINTER;
  }
  *enumerator = nullptr;
  return run([&] {
    auto* copy = new TrackingRatesObject(collection_->Clone());
    copy->AddRef();
    *enumerator = static_cast<IEnumVARIANT*>(copy);
  });
}

template class CollectionObject<IRates, rates::TRates>;
template class CollectionObject<ITrackingRatesCol, rates::TTrackingRatesCol>;

HRESULT createInstance(const ClassInfo& cls, REFIID iid, void** object) {
  struct Wrap {
    REFIID iid;
    void** object;
    HRESULT operator()(std::shared_ptr<driver::TTelescope> t) const {
      return handOut(new TelescopeObject(std::move(t)), iid, object);
    }
    HRESULT operator()(std::shared_ptr<rates::TRate> r) const {
      return handOut(new RateObject(std::move(r)), iid, object);
    }
    HRESULT operator()(std::shared_ptr<rates::TRates> r) const {
      return handOut(new RatesObject(std::move(r)), iid, object);
    }
    HRESULT operator()(std::shared_ptr<rates::TTrackingRatesCol> r) const {
      return handOut(new TrackingRatesObject(std::move(r)), iid, object);
    }
  };
  return binding::constructInstance(cls, ComModule::instance().runtime(), Wrap{iid, object});
}

}  // namespace tramox::server::win32
