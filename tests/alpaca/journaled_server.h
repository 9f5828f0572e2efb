#pragma once
// A server of the test's own whose simulator journals every controller call.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/alpaca/alpaca_server.h"

namespace tramox::alpaca::testing {

class JournaledServer {
 public:
  explicit JournaledServer(const std::string& simulator, const std::string& extraArgs = "")
      : journal_(std::filesystem::temp_directory_path() /
                 ("tramox-journal-" + std::to_string(::getpid()) + "-" + std::to_string(next_++))) {
    ::setenv("TRAMOX_SIM_JOURNAL", journal_.c_str(), 1);
    server_ = std::make_unique<AlpacaServer>(simulator, extraArgs);
    ::unsetenv("TRAMOX_SIM_JOURNAL");
  }
  ~JournaledServer() {
    server_.reset();
    std::filesystem::remove(journal_);
  }
  JournaledServer(const JournaledServer&) = delete;
  JournaledServer& operator=(const JournaledServer&) = delete;
  AlpacaServer& operator*() { return *server_; }
  AlpacaServer* operator->() { return server_.get(); }

  std::vector<std::string> journal() const {
    std::ifstream in(journal_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
    }
    return lines;
  }

 private:
  static inline int next_ = 0;
  std::filesystem::path journal_;
  std::unique_ptr<AlpacaServer> server_;
};

}  // namespace tramox::alpaca::testing
