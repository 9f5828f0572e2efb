#pragma once
// The ASCOM profile store as a map, recording every call; can be told to fail.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile_store.h"

namespace tramox::fakes {

class FakeProfileStore : public platform::IProfileStore {
 public:
  struct Call {
    std::string op;  // "writeValue" or "getValue"
    std::string driverId;
    std::string name;
    std::string text;  // written text, or the text returned
    bool operator==(const Call&) const = default;
  };

  void writeValue(const std::string& driverId, const std::string& name,
                  const std::string& text) override;
  std::string getValue(const std::string& driverId, const std::string& name) override;

  // Both operations throw std::runtime_error(message) while set.
  void failWith(std::string message) { failure_ = std::move(message); }
  void stopFailing() { failure_.reset(); }

  void set(const std::string& driverId, const std::string& name, const std::string& text) {
    values_[{driverId, name}] = text;
  }
  // nullopt when never written.
  std::optional<std::string> stored(const std::string& driverId, const std::string& name) const;
  const std::vector<Call>& calls() const { return calls_; }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
  std::vector<Call> calls_;
  std::optional<std::string> failure_;
};

}  // namespace tramox::fakes
