// IRate, IRates and ITrackingRatesCol: which member each dispatch identifier runs. _NewEnum
// is answered by the collection object itself (collection_object.h).
#include "server/binding/member_binding.h"

namespace tramox::server::binding {
namespace {

constexpr MemberKind G = MemberKind::PropertyGet;
constexpr MemberKind P = MemberKind::PropertyPut;

const Invoker<rates::TRate> kRateInvokers[] = {
    {1, G, call<&rates::TRate::Get_Minimum>()},
    {1, P, call<&rates::TRate::Set_Minimum>()},
    {2, G, call<&rates::TRate::Get_Maximum>()},
    {2, P, call<&rates::TRate::Set_Maximum>()},
};

const Invoker<rates::TRates> kRatesInvokers[] = {
    {1, G, callAs<rates::TRates, &rates::TRates::Get_Count>()},
    {0, G, call<&rates::TRates::Get_Item>()},
};

const Invoker<rates::TTrackingRatesCol> kTrackingRatesInvokers[] = {
    {1, G, callAs<rates::TTrackingRatesCol, &rates::TTrackingRatesCol::Get_Count>()},
    {0, G, call<&rates::TTrackingRatesCol::Get_Item>()},
};

}  // namespace

std::span<const Invoker<rates::TRate>> rateInvokers() {
  return kRateInvokers;
}
std::span<const Invoker<rates::TRates>> ratesInvokers() {
  return kRatesInvokers;
}
std::span<const Invoker<rates::TTrackingRatesCol>> trackingRatesInvokers() {
  return kTrackingRatesInvokers;
}

}  // namespace tramox::server::binding
