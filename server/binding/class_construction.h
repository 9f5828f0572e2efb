#pragma once
// What creating one of the four classes through its class factory makes, the same in every
// module: the driver object with its construction set-up, an empty Rate, an empty Rates whose
// Item logs through the module's log like any other member, an empty TrackingRatesCol. The
// factories only wrap the result in their own automation object.
#include <memory>
#include <utility>

#include "driver/driver_runtime.h"
#include "driver/telescope.h"
#include "rates/rate.h"
#include "rates/rates.h"
#include "rates/tracking_rates.h"
#include "server/member_table.h"

namespace tramox::server::binding {

// wrap is called with the new object's shared_ptr (one overload per class); its answer is
// returned. Construction failures propagate: the factory reports them by the failure rule.
template <class Wrap>
auto constructInstance(const ClassInfo& cls, driver::DriverRuntime& runtime, Wrap&& wrap) {
  if (&cls == &telescopeClass()) {
    return wrap(std::make_shared<driver::TTelescope>(runtime));
  }
  if (&cls == &rateClass()) {
    return wrap(std::make_shared<rates::TRate>());
  }
  if (&cls == &ratesClass()) {
    return wrap(
        std::make_shared<rates::TRates>(&runtime.log, runtime.services.locale, 0.0, 0.0, 0.0, 0));
  }
  return wrap(std::make_shared<rates::TTrackingRatesCol>());
}

}  // namespace tramox::server::binding
