#pragma once
// The axis-rate collection of one axis: Count 3 (three single-speed rates) or 0. It holds no
// element objects; every Get_Item makes a new TRate, so a client changing one Rate never
// affects the collection.
#include <cstdint>
#include <memory>

#include "diag/diagnostic_log.h"
#include "platform/locale_format.h"
#include "rates/enum_cursor.h"
#include "rates/rate.h"

namespace tramox::rates {

class TRates : public EnumeratedCollection<std::shared_ptr<TRate>> {
 public:
  // log and locale may be null (no "Get_Item index" lines), e.g. for a collection a client
  // creates on its own through the class factory.
  TRates(diag::DiagnosticLog* log, platform::ILocaleFormat* locale, double firstDegPerSec,
         double secondDegPerSec, double thirdDegPerSec, std::int32_t count);

  // Index 1..3 selects first..third; any other index gives a rate of 0 without error. Writes
  // "Get_Item index N=value"; the log's registry error is the one failure that can escape.
  std::shared_ptr<TRate> Get_Item(std::int32_t index) override;

  // A new, independent enumerator over the same values, starting where this one stands:
  // the usual enumerator copy, so a client can look ahead without losing its place.
  std::shared_ptr<TRates> Clone() const;

 private:
  double valueAt(std::int32_t index) const;

  diag::DiagnosticLog* log_;
  platform::ILocaleFormat* locale_;
  double firstDegPerSec_;
  double secondDegPerSec_;
  double thirdDegPerSec_;
};

}  // namespace tramox::rates
