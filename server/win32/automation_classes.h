#pragma once
// The four automation classes of the module, each a dual interface over its C++ object; the
// collections are also their own IEnumVARIANT. Their vtable methods come from the rows that
// typelib_generator writes from the member tables.
#include <memory>

#include "driver/telescope.h"
#include "rates/rate.h"
#include "rates/rates.h"
#include "rates/tracking_rates.h"
#include "server/win32/dual_object.h"
#include "server/win32/member_macros.h"

namespace tramox::server::win32 {

class TelescopeObject final : public DualObject<ITelescope> {
 public:
  explicit TelescopeObject(std::shared_ptr<driver::TTelescope> telescope);
#include "ITelescope_members.inc"

 private:
  // clang-format off
  driver::TTelescope& target() { return *telescope_; }
  // clang-format on
  std::shared_ptr<driver::TTelescope> telescope_;
};

class RateObject final : public DualObject<IRate> {
 public:
  explicit RateObject(std::shared_ptr<rates::TRate> rate);
#include "IRate_members.inc"

 private:
  // clang-format off
  rates::TRate& target() { return *rate_; }
  // clang-format on
  std::shared_ptr<rates::TRate> rate_;
};

// IEnumVARIANT over a collection whose elements become variants through ElementToVariant.
template <class Interface, class Collection>
class CollectionObject : public DualObject<Interface>, public IEnumVARIANT {
 public:
  using Base = DualObject<Interface>;
  CollectionObject(const ClassInfo& cls, std::shared_ptr<Collection> collection)
      : Base(cls), collection_(std::move(collection)) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    return Base::QueryInterface(iid, object);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return Base::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Base::Release(); }

  STDMETHODIMP Next(ULONG count, VARIANT* items, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;

 protected:
  void* queryOther(REFIID iid) override {
    return IsEqualIID(iid, IID_IEnumVARIANT) ? static_cast<IEnumVARIANT*>(this) : nullptr;
  }
  Collection& target() { return *collection_; }
  std::shared_ptr<Collection> collection_;
};

class RatesObject final : public CollectionObject<IRates, rates::TRates> {
 public:
  explicit RatesObject(std::shared_ptr<rates::TRates> rates);
  STDMETHODIMP Clone(IEnumVARIANT** enumerator) override;
#include "IRates_members.inc"
};

class TrackingRatesObject final
    : public CollectionObject<ITrackingRatesCol, rates::TTrackingRatesCol> {
 public:
  explicit TrackingRatesObject(std::shared_ptr<rates::TTrackingRatesCol> rates);
  STDMETHODIMP Clone(IEnumVARIANT** enumerator) override;
#include "ITrackingRatesCol_members.inc"
};

// Creation through the class factories: a new object of the class for each request.
HRESULT createInstance(const ClassInfo& cls, REFIID iid, void** object);

}  // namespace tramox::server::win32
