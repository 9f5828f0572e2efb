#include "alpaca/periodic_timer.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <mutex>
#include <utility>

namespace tramox::alpaca {

namespace asio = boost::asio;

// Shared with the wait in progress, which may outlive the timer that started it: the wait
// then finds it stopped, or goes with the I/O context.
struct PeriodicTimer::State : std::enable_shared_from_this<State> {
  State(asio::io_context& io, std::chrono::milliseconds period, std::function<void()> tick)
      : timer(io), period(period), tick(std::move(tick)) {}

  void arm() {
    timer.async_wait(
        [self = shared_from_this()](const boost::system::error_code& ec) { self->fire(ec); });
  }

  void fire(const boost::system::error_code& ec) {
    std::lock_guard<std::mutex> lock(mutex);
    if (ec || stopped) {
      return;
    }
    tick();
    // From the last expiry, so late handlers do not make the period drift; after a stall (a
    // suspended machine, busy I/O threads) from now, rather than a burst of the ticks missed.
    const auto now = asio::steady_timer::clock_type::now();
    const auto next = timer.expiry() + period;
    timer.expires_at(next > now ? next : now + period);
    arm();
  }

  std::mutex mutex;  // the timer is touched by the I/O thread of the moment and by stop
  asio::steady_timer timer;
  const std::chrono::milliseconds period;
  const std::function<void()> tick;
  bool stopped = false;
};

PeriodicTimer::PeriodicTimer() = default;

PeriodicTimer::~PeriodicTimer() {
  stop();
}

void PeriodicTimer::start(asio::io_context& io, std::chrono::milliseconds period,
                          std::function<void()> tick) {
  stop();
  state_ = std::make_shared<State>(io, period, std::move(tick));
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->timer.expires_after(period);
  state_->arm();
}

void PeriodicTimer::stop() {
  if (!state_) {
    return;
  }
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->stopped = true;
    state_->timer.cancel();
  }
  state_.reset();
}

}  // namespace tramox::alpaca
