#pragma once
// A call at a steady period on the threads that run an I/O context (the HTTP server's), so
// the server's periodic work needs no thread of its own.
#include <chrono>
#include <functional>
#include <memory>

#include "alpaca/asio_forward.h"

namespace tramox::alpaca {

class PeriodicTimer {
 public:
  PeriodicTimer();
  ~PeriodicTimer();
  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;

  // The first tick one period from now. tick must not stop the timer.
  void start(boost::asio::io_context& io, std::chrono::milliseconds period,
             std::function<void()> tick);
  // Once it returns no tick runs, whether io's threads still run or have stopped. Before io
  // is destroyed.
  void stop();

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace tramox::alpaca
