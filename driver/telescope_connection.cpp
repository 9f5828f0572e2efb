// Connected (write): connecting and disconnecting, and the paddle and profile helpers they
// share with the other members.
#include "common/driver_error.h"
#include "common/units.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"
#include "driver/value_ranges.h"
#include "platform/settings_key.h"

namespace tramox::driver {

namespace {
constexpr const char* kDriverId = "TRAMOX.Telescope";
constexpr const char* kTrackingValue = "Tracking";
// The fixed atmosphere of the pipeline; King tracking is started for its pressure too.
constexpr astro::AtmosphereParameters kStandardAtmosphere{};
}  // namespace

void TTelescope::Set_Connected(bool value) {
  if (value) {
    setConnectedTo(true);
  } else {
    stopFirst([this] { setConnectedTo(false); });
  }
}

void TTelescope::setConnectedTo(bool value) {
  log("Set_Connected");
  if (value && !FConnected) {
    connect();
  } else if (!value && FConnected) {
    disconnect();
  }
}

void TTelescope::connect() {
  controller::ControllerLibrary& mount = rt_.controller;
  ProcessState& state = rt_.state;
  if (!mount.loaded()) {
    mount.LoadControllerLibrary();
  }
  // The loader has already shown why; nothing here may reach an empty slot.
  if (!mount.loaded()) {
    throw DriverError(codes::kInvalidState, FailureReason::NotConnected,
                      controller::kNotLoadedMessage);
  }

  FConnected = false;
  platform::SettingsKey settings(*rt_.services.registry);
  settings.ensureExists();
  // A missing site value reads as 0 and is written so, for the next run.
  auto storedOrZero = [&settings](const char* name) {
    const std::optional<double> stored = settings.readDouble(name);
    if (!stored) {
      settings.writeDouble(name, 0.0);
    }
    return stored;
  };
  const auto longitude = storedOrZero("Longitude");
  const double longitudeEast =
      longitude ? -units::fromRadiansMultiplyingFirst(*longitude, 180.0) : 0.0;
  const auto latitude = storedOrZero("Latitude");
  const double latitudeDegrees =
      latitude ? units::fromRadiansMultiplyingFirst(*latitude, 180.0) : 0.0;
  const auto altitude = storedOrZero("Altitude");
  const double elevation = altitude ? *altitude : 0.0;
  // A hand-edited value outside the members' ranges must not reach the controller.
  requireStoredInRange("Longitude", longitude.value_or(0.0), longitudeEast, kLongitudeRange);
  requireStoredInRange("Latitude", latitude.value_or(0.0), latitudeDegrees, kLatitudeRange);
  requireStoredInRange("Altitude", altitude.value_or(0.0), elevation, kElevationRange);
  FSiteLongitude = longitudeEast;
  FSiteLatitude = latitudeDegrees;
  FSiteElevation = elevation;

  // Without the profile registration key there is no store: connect then goes on without
  // it, as Tracking put does, instead of failing after the mount is connected.
  const bool profile = profileAvailable();
  // The store is made afresh by each of its calls, so a first read stands for making it: a
  // store that cannot be made fails the connect here, before the controller is touched.
  if (profile) {
    rt_.services.profile->getValue(kDriverId, kTrackingValue);
  }

  state.SiteParameters = {units::degreesToRadians(FSiteLatitude),
                          -units::degreesToRadians(FSiteLongitude), FSiteElevation};
  state.AtmosphereParameters = kStandardAtmosphere;
  state.pipeline =
      std::make_unique<astro::TRADECtranfos>(state.SiteParameters, state.AtmosphereParameters);

  const double latRad = state.SiteParameters.latitudeRad;
  const double lonWestRad = state.SiteParameters.westLongitudeRad;
  std::int32_t port = 0;
  FConnected = mount.InitCodeursDevice_DLL(&port, 0, latRad, lonWestRad);
  if (!FConnected) {
    // Nothing will use the pipeline of a refused connection.
    state.pipeline.reset();
    throw DriverError(codes::kInvalidState, messages::kConnectionImpossible);
  }

  if (state.paddle) {
    state.paddle->Unbind();
    state.paddle->Close();
  }
  state.paddle =
      std::make_unique<paddle::TRaquette>(*rt_.services.paddleViews, *rt_.services.messages);
  state.paddleModuleHold = rt_.holdModule ? rt_.holdModule() : nullptr;
  state.paddleOwner = this;
  state.paddle->GetTelescope(this);
  state.paddle->Show();

  Get_RightAscension();

  KingPecTable& kingPec = state.kingPec;
  mount.GetKingPEC_DLL(&kingPec.king, kingPec.a, kingPec.b, kingPec.c, &kingPec.pec);
  if (kingPec.king) {
    mount.StartKingDevice_DLL(latRad, lonWestRad, FSiteElevation, kStandardAtmosphere.pressureHpa);
    state.paddle->SetVisible("LabelKing", true);
  }
  if (kingPec.pec) {
    mount.StartPecSpeedEngineDevice_DLL(kingPec.b, kingPec.c, kingPec.a);
    state.paddle->SetVisible("LabelPEC", true);
  }

  FParked = controllerReportsParked();
  FParking = false;
  // What the profile would answer; stands in for it when there is no store.
  std::string trackingText;
  if (FParked) {
    setPaddleText("ButtonPark", "UnPark");
    setPaddleEnabled("ButtonTracking", false);
    trackingText = "No";
    if (profile) {
      writeTrackingProfile(trackingText);
    }
  } else {
    setPaddleText("ButtonPark", "Park");
  }

  // The controller is not told to track or stop here: the flag only follows the profile.
  if (profile) {
    trackingText = rt_.services.profile->getValue(kDriverId, kTrackingValue);
  }
  if (trackingText.empty()) {
    if (profile) {
      writeTrackingProfile("Yes");
    }
    FTracking = true;
  } else if (trackingText == "No") {
    FTracking = false;
    setPaddleText("ButtonTracking", "Track");
  } else {
    FTracking = true;
    setPaddleText("ButtonTracking", "Untrack");
  }
}

void TTelescope::disconnect() {
  ProcessState& state = rt_.state;
  if (state.paddle) {
    state.paddle->Close();
    state.paddle.reset();
    state.paddleModuleHold.reset();
    state.paddleOwner = nullptr;
  }
  state.pipeline.reset();
  // After a close the controller refused, the library is gone and FConnected stayed true: a
  // second disconnect then only clears the flag, it cannot call the released library.
  if (rt_.controller.loaded()) {
    FConnected = !rt_.controller.CloseCodeursDevice_DLL();
  } else {
    FConnected = false;
  }
  rt_.controller.Release();
  // The written steps report nothing; a client must not take a refused close for success.
  if (FConnected) {
    throw DriverError(codes::kInvalidState, "Disconnection impossible");
  }
}

bool TTelescope::profileAvailable() {
  return rt_.services.registry->keyExists(platform::Hive::LocalMachine, platform::kAscomProfileKey);
}

void TTelescope::writeTrackingProfile(const std::string& text) {
  rt_.services.profile->writeValue(kDriverId, kTrackingValue, text);
}

void TTelescope::setPaddleText(const char* control, const char* text) {
  if (rt_.state.paddle) {
    rt_.state.paddle->SetText(control, text);
  }
}

void TTelescope::setPaddleEnabled(const char* control, bool enabled) {
  if (rt_.state.paddle) {
    rt_.state.paddle->SetEnabled(control, enabled);
  }
}

}  // namespace tramox::driver
