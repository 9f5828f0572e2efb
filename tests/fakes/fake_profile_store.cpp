#include "tests/fakes/fake_profile_store.h"

#include <stdexcept>

namespace tramox::fakes {

void FakeProfileStore::writeValue(const std::string& driverId, const std::string& name,
                                  const std::string& text) {
  calls_.push_back({"writeValue", driverId, name, text});
  if (failure_) {
    throw std::runtime_error(*failure_);
  }
  values_[{driverId, name}] = text;
}

std::string FakeProfileStore::getValue(const std::string& driverId, const std::string& name) {
  if (failure_) {
    calls_.push_back({"getValue", driverId, name, {}});
    throw std::runtime_error(*failure_);
  }
  auto it = values_.find({driverId, name});
  std::string text = it == values_.end() ? std::string() : it->second;
  calls_.push_back({"getValue", driverId, name, text});
  return text;
}

std::optional<std::string> FakeProfileStore::stored(const std::string& driverId,
                                                    const std::string& name) const {
  auto it = values_.find({driverId, name});
  if (it == values_.end()) {
    return std::nullopt;
  }
  return it->second;
}

}  // namespace tramox::fakes
