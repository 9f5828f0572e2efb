#pragma once
// What the hand paddle calls on the driver object: the members a client would call, plus the
// two flags its park and tracking buttons decide by. The driver object implements it, so the
// paddle does not depend on the driver.
#include <cstdint>
#include <memory>

namespace tramox::rates {
class TRates;
}  // namespace tramox::rates

namespace tramox::paddle {

class IPaddleTelescope {
 public:
  virtual std::shared_ptr<rates::TRates> AxisRates(std::int32_t axis) = 0;
  virtual void MoveAxis(std::int32_t axe, double rateDegPerSec) = 0;
  virtual void Park() = 0;
  virtual void Unpark() = 0;
  virtual void SetPark() = 0;
  virtual void Set_Tracking(bool value) = 0;
  virtual double Get_RightAscension() = 0;
  virtual bool Get_Slewing() = 0;
  // Read directly, without log lines.
  virtual bool parked() const = 0;
  virtual bool parking() const = 0;
  virtual bool tracking() const = 0;

 protected:
  ~IPaddleTelescope() = default;
};

}  // namespace tramox::paddle
