#pragma once
// One axis rate, degrees per second. Each axis rate is a single speed, so the collection sets
// Minimum and Maximum to the same value; a client may overwrite either, unchecked, and only
// later reads of this same object see it.

namespace tramox::rates {

class TRate {
 public:
  TRate() = default;
  TRate(double minimumDegPerSec, double maximumDegPerSec)
      : minimum_(minimumDegPerSec), maximum_(maximumDegPerSec) {}

  double Get_Minimum() const { return minimum_; }
  void Set_Minimum(double degPerSec) { minimum_ = degPerSec; }
  double Get_Maximum() const { return maximum_; }
  void Set_Maximum(double degPerSec) { maximum_ = degPerSec; }

 private:
  double minimum_ = 0.0;
  double maximum_ = 0.0;
};

}  // namespace tramox::rates
