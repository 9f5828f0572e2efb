#pragma once
// One LX200 client's conversation with the driver: what it has chosen (precision, motion
// rate, its UTC offset, the target it set) and which directions it set moving, and the answer
// to each command as the planetarium programs and INDI's LX200 drivers read it. Runs on the
// driver thread only.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "client/driver_object.h"
#include "lx200/command_framer.h"
#include "lx200/sexagesimal.h"
#include "platform/clock.h"

namespace tramox::lx200 {

// What :GVP#, :GVN#, :GVD# and :GVT# answer.
struct Identity {
  std::string product = "TRAMOX";
  std::string version;
  std::string date;  // "Mmm dd yyyy"
  std::string time;  // "hh:mm:ss"
};

// Lines for the server's console (a refused goto, a park that failed, tracking turned on).
using Console = std::function<void(const std::string&)>;

class Session {
 public:
  Session(platform::IClock& clock, Identity identity, Console console);

  // Stops go ahead of the calls queued for the driver.
  static bool isStop(const Frame& frame);
  // Carries out the frame the connection received as its sequence-th; returns the bytes to
  // answer (none for most motion commands and for what it does not know).
  std::string handle(const Frame& frame, std::uint64_t sequence,
                     const client::DriverObject& driver);
  // Nothing was heard after the sequence-th frame for too long: stops the directions this
  // client set moving, and a direction received up to then is not started.
  void silence(std::uint64_t sequence, const client::DriverObject& driver);
  // The client has gone, or the server leaves: stops its directions; nothing more is done.
  void close(const client::DriverObject& driver);

 private:
  struct Rule;
  static const Rule* ruleFor(std::string_view text);

  std::string rightAscension(std::string_view, const client::DriverObject& driver);
  std::string declination(std::string_view, const client::DriverObject& driver);
  std::string altitude(std::string_view, const client::DriverObject& driver);
  std::string azimuth(std::string_view, const client::DriverObject& driver);
  std::string togglePrecision(std::string_view, const client::DriverObject&);
  std::string timeFormat(std::string_view, const client::DriverObject&);
  std::string siteName(std::string_view, const client::DriverObject&);
  std::string trackingFrequency(std::string_view, const client::DriverObject& driver);
  std::string latitude(std::string_view, const client::DriverObject& driver);
  std::string longitude(std::string_view, const client::DriverObject& driver);
  std::string utcOffset(std::string_view, const client::DriverObject&);
  std::string localTime(std::string_view, const client::DriverObject&);
  std::string localDate(std::string_view, const client::DriverObject&);
  std::string product(std::string_view, const client::DriverObject&);
  std::string version(std::string_view, const client::DriverObject&);
  std::string firmwareDate(std::string_view, const client::DriverObject&);
  std::string firmwareTime(std::string_view, const client::DriverObject&);
  std::string setTargetRightAscension(std::string_view args, const client::DriverObject&);
  std::string setTargetDeclination(std::string_view args, const client::DriverObject&);
  std::string setLongitude(std::string_view args, const client::DriverObject& driver);
  std::string setLatitude(std::string_view args, const client::DriverObject& driver);
  std::string setUtcOffset(std::string_view args, const client::DriverObject&);
  std::string setLocalTime(std::string_view args, const client::DriverObject&);
  std::string setLocalDate(std::string_view args, const client::DriverObject&);
  std::string setTrackingFrequency(std::string_view args, const client::DriverObject&);
  std::string slewToTarget(std::string_view, const client::DriverObject& driver);
  std::string syncToTarget(std::string_view, const client::DriverObject& driver);
  std::string distanceBars(std::string_view, const client::DriverObject& driver);
  std::string abort(std::string_view, const client::DriverObject& driver);
  std::string move(std::string_view direction, const client::DriverObject& driver);
  std::string halt(std::string_view direction, const client::DriverObject& driver);
  std::string pulseGuide(std::string_view args, const client::DriverObject& driver);
  std::string chooseRate(std::string_view rate, const client::DriverObject&);
  std::string park(std::string_view, const client::DriverObject& driver);
  std::string trackingOn(std::string_view, const client::DriverObject& driver);
  std::string trackingOff(std::string_view, const client::DriverObject& driver);
  std::string keepTrackingMode(std::string_view, const client::DriverObject&);

  std::string angleAnswer(const client::DriverResult& result,
                          std::string (*format)(double, Precision)) const;
  // Universal time and the client's local time, as automation dates.
  double universalTime() const;
  double localNow() const;
  void stopAxis(int axis, const client::DriverObject& driver);
  void stopDirections(const client::DriverObject& driver);

  platform::IClock& clock_;
  Identity identity_;
  Console console_;
  Precision precision_ = Precision::High;
  int rate_ = 0;  // 0 the slowest of the axis's rates, 1 the middle one, 2 the fastest
  // Hours to add to local time for UTC, once the client set them; else the computer's.
  std::optional<double> utcOffset_;
  std::optional<double> targetRightAscension_;
  std::optional<double> targetDeclination_;
  // Per axis (primary, secondary), the direction letter this client set moving it in.
  std::array<char, 2> moving_{};
  std::uint64_t silencedThrough_ = 0;
  bool closed_ = false;
};

}  // namespace tramox::lx200
