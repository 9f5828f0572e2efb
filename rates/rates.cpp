#include "rates/rates.h"

#include <string>

namespace tramox::rates {

TRates::TRates(diag::DiagnosticLog* log, platform::ILocaleFormat* locale, double firstDegPerSec,
               double secondDegPerSec, double thirdDegPerSec, std::int32_t count)
    : EnumeratedCollection(count),
      log_(log),
      locale_(locale),
      firstDegPerSec_(firstDegPerSec),
      secondDegPerSec_(secondDegPerSec),
      thirdDegPerSec_(thirdDegPerSec) {}

double TRates::valueAt(std::int32_t index) const {
  switch (index) {
    case 1:
      return firstDegPerSec_;
    case 2:
      return secondDegPerSec_;
    case 3:
      return thirdDegPerSec_;
    default:
      return 0.0;
  }
}

std::shared_ptr<TRate> TRates::Get_Item(std::int32_t index) {
  const double rateDegPerSec = valueAt(index);
  auto rate = std::make_shared<TRate>(rateDegPerSec, rateDegPerSec);
  if (log_ != nullptr && log_->enabled()) {
    const std::string separator = locale_ != nullptr ? locale_->decimalSeparator() : ".";
    log_->writeLine("Get_Item index " + std::to_string(index) + "=" +
                    diag::formatNumber(rateDegPerSec, separator));
  }
  return rate;
}

std::shared_ptr<TRates> TRates::Clone() const {
  return std::make_shared<TRates>(*this);
}

}  // namespace tramox::rates
