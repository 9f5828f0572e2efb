#pragma once
// The module's automation objects: the driver object and the rate classes behind their
// interfaces. Each function returns a new object holding one reference for the caller.
#include <memory>
#include <span>

#include "driver/telescope.h"
#include "rates/rate.h"
#include "rates/rates.h"
#include "rates/tracking_rates.h"
#include "server/binding/com_ref.h"
#include "server/binding/dispatcher.h"

namespace tramox::server::binding {

ComRef<IDispatch> newTelescopeObject(std::shared_ptr<driver::TTelescope> telescope);
ComRef<IDispatch> newRateObject(std::shared_ptr<rates::TRate> rate);
ComRef<IDispatch> newRatesObject(std::shared_ptr<rates::TRates> rates);
ComRef<IDispatch> newTrackingRatesObject(std::shared_ptr<rates::TTrackingRatesCol> rates);

// The member calls of each class, one entry per row of its interface table.
std::span<const Invoker<driver::TTelescope>> telescopeInvokers();
std::span<const Invoker<rates::TRate>> rateInvokers();
std::span<const Invoker<rates::TRates>> ratesInvokers();
std::span<const Invoker<rates::TTrackingRatesCol>> trackingRatesInvokers();

}  // namespace tramox::server::binding
