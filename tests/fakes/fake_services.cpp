#include "tests/fakes/fake_services.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace tramox::fakes {

TempFolder::TempFolder() {
  std::random_device entropy;
  std::mt19937_64 random(entropy());
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = base / ("tramox-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder under " + base.string());
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests may leave read-only files behind; make them removable first.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

platform::Services FakeServices::services() {
  platform::Services s;
  s.registry = &registry;
  s.profile = &profile;
  s.libraries = &libraries;
  s.clock = &clock;
  s.locale = &locale;
  s.messages = &messages;
  s.paddleViews = &paddleViews;
  s.logPath = logPath();
  return s;
}

std::vector<std::string> FakeServices::loggedMessages() const {
  std::vector<std::string> messages;
  std::ifstream file(logPath(), std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    // The time stamp ends at the first " :".
    const auto end = line.find(" :");
    messages.push_back(end == std::string::npos ? line : line.substr(end + 2));
  }
  return messages;
}

}  // namespace tramox::fakes
