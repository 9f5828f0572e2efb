#include "alpaca/web/paddle_feed.h"

namespace tramox::web {

bool PaddleFeed::behind(const Waiter& waiter) const {
  return waiter.version != version_ || waiter.lastDialog < lastDialog_;
}

void PaddleFeed::answer(const Waiter& waiter) const {
  waiter.answer({{"version", version_},
                 {"state", state_},
                 {"dialogs", dialogsSince_(waiter.lastDialog)},
                 {"lastDialog", lastDialog_}});
}

void PaddleFeed::wait(std::uint64_t version, std::int64_t lastDialog, double nowSeconds,
                      Answer reply) {
  Waiter waiter{version, lastDialog < 0 ? lastDialog_ : static_cast<std::uint64_t>(lastDialog),
                nowSeconds + kLongPollSeconds, std::move(reply)};
  if (behind(waiter) || version_ == 0 || closed_) {
    answer(waiter);
  } else {
    waiters_.push_back(std::move(waiter));
  }
}

void PaddleFeed::update(const nlohmann::json& state, std::uint64_t lastDialogId,
                        double nowSeconds) {
  if (version_ == 0 || state != state_) {
    state_ = state;
    ++version_;
  }
  lastDialog_ = lastDialogId;
  std::vector<Waiter> still;
  for (auto& waiter : waiters_) {
    if (behind(waiter) || nowSeconds >= waiter.deadline) {
      answer(waiter);
    } else {
      still.push_back(std::move(waiter));
    }
  }
  waiters_ = std::move(still);
}

void PaddleFeed::close() {
  closed_ = true;
  for (const auto& waiter : waiters_) {
    answer(waiter);
  }
  waiters_.clear();
}

}  // namespace tramox::web
