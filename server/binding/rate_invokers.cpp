// IRate, IRates and ITrackingRatesCol: which member each row of the member tables runs.
// _NewEnum is answered by the collection object itself (collection_object.h).
#include "server/binding/generated_rows.h"

namespace tramox::server::binding {
namespace {

#define TRAMOX_ROWS_TARGET rates::TRate
const RowCall<rates::TRate> kRateCalls[] = {
#include "IRate_members.inc"
};
#undef TRAMOX_ROWS_TARGET

#define TRAMOX_ROWS_TARGET rates::TRates
const RowCall<rates::TRates> kRatesCalls[] = {
#include "IRates_members.inc"
};
#undef TRAMOX_ROWS_TARGET

#define TRAMOX_ROWS_TARGET rates::TTrackingRatesCol
const RowCall<rates::TTrackingRatesCol> kTrackingRatesCalls[] = {
#include "ITrackingRatesCol_members.inc"
};
#undef TRAMOX_ROWS_TARGET

}  // namespace

std::span<const Invoker<rates::TRate>> rateInvokers() {
  static const auto rows = rowsOf<rates::TRate>(rateInterface(), kRateCalls);
  return rows;
}
std::span<const Invoker<rates::TRates>> ratesInvokers() {
  static const auto rows = rowsOf<rates::TRates>(ratesInterface(), kRatesCalls);
  return rows;
}
std::span<const Invoker<rates::TTrackingRatesCol>> trackingRatesInvokers() {
  static const auto rows =
      rowsOf<rates::TTrackingRatesCol>(trackingRatesColInterface(), kTrackingRatesCalls);
  return rows;
}

}  // namespace tramox::server::binding
