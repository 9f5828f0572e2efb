#pragma once
// The setup pages a person opens with a browser: the server's (/setup) and the telescope's
// (/setup/v1/telescope/0/setup). Plain HTML forms that work without JavaScript; every value
// is escaped. The pages only show what they are given: reading and writing the values is the
// server's business, through the driver's members and the settings key.
#include <string>
#include <vector>

namespace tramox::web {

inline constexpr const char* kDeviceSetupPath = "/setup/v1/telescope/0/setup";
inline constexpr const char* kServerSetupPath = "/setup";

// One editable value: the form field carries the member's or the settings value's own name.
struct SetupField {
  std::string name;   // "SiteLatitude", "SlewTimeout", ...
  std::string label;  // what the person reads
  std::string unit;
  std::string value;  // as typed, or as read
  std::string error;  // the driver's message when the value was refused
};

struct DeviceSetupView {
  bool connected = false;
  std::vector<SetupField> fields;  // the site, then "SlewTimeout" and "GuideRate"
  bool logEnabled = false;
  std::string logError;
  std::string parkPosition;       // text, e.g. "hour angle 1.5 h, declination 20°"
  std::string controllerLibrary;  // the path in use
  std::string notice;             // e.g. "Saved."
  bool noticeIsError = false;
};

struct ServerSetupView {
  std::string address;
  int port = 0;
  std::string discovery;  // e.g. "UDP port 32227" or "off"
  std::string uniqueId;
  int connectedClients = 0;
  bool connected = false;  // the driver to its controller
  std::string driverName;
};

std::string deviceSetupPage(const DeviceSetupView& view);
std::string serverSetupPage(const ServerSetupView& view);

}  // namespace tramox::web
