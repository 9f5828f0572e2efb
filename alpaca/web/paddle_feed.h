#pragma once
// Live updates for the pages, as a long poll: a page asks with the version of the state it
// shows and the last window it has seen, and is answered as soon as either is out of date, or
// after kLongPollSeconds with what it has. Pages wait half a second between two requests, so
// a page asks at most twice a second. Every call belongs on the driver's thread.
#include <cstdint>
#include <functional>
#include <vector>

#include <nlohmann/json.hpp>

namespace tramox::web {

// Below the HTTP server's idle limit, so that no proxy or server drops a waiting request.
inline constexpr double kLongPollSeconds = 20.0;

class PaddleFeed {
 public:
  // {"version": N, "state": {...}, "dialogs": [...], "lastDialog": id}
  using Answer = std::function<void(const nlohmann::json&)>;
  // The windows after an id, and the newest id.
  using DialogsSince = std::function<nlohmann::json(std::uint64_t afterId)>;

  explicit PaddleFeed(DialogsSince dialogsSince) : dialogsSince_(std::move(dialogsSince)) {}

  // version: the page's; lastDialog: the last window it saw, or -1 for a page that has just
  // opened (it is shown only the windows raised from then on).
  void wait(std::uint64_t version, std::int64_t lastDialog, double nowSeconds, Answer answer);
  // The model as it is now; answers the pages that are behind or have waited long enough.
  void update(const nlohmann::json& state, std::uint64_t lastDialogId, double nowSeconds);
  // Answers every waiting page, and from then on every page at once: the answers hold the
  // server's connections, which must not outlive the server.
  void close();

  std::uint64_t version() const { return version_; }
  std::size_t waiting() const { return waiters_.size(); }

 private:
  struct Waiter {
    std::uint64_t version;
    std::uint64_t lastDialog;
    double deadline;
    Answer answer;
  };
  bool behind(const Waiter& waiter) const;
  void answer(const Waiter& waiter) const;

  DialogsSince dialogsSince_;
  nlohmann::json state_;
  std::uint64_t version_ = 0;
  std::uint64_t lastDialog_ = 0;
  std::vector<Waiter> waiters_;
  bool closed_ = false;
};

}  // namespace tramox::web
