#include "alpaca/driver_host.h"

#include <condition_variable>
#include <mutex>
#include <stdexcept>

#include "client/value_format.h"
#include "platform/services.h"

namespace tramox::alpaca {

namespace {

// The platform's clock, except that sleeping on the driver thread serves queued calls.
class ServingClock final : public platform::IClock {
 public:
  ServingClock(DriverHost& host, platform::IClock& native) : host_(host), native_(native) {}
  double nowLocal() override { return native_.nowLocal(); }
  platform::TimeZoneInfo timeZone() override { return native_.timeZone(); }
  double monotonicSeconds() override { return native_.monotonicSeconds(); }
  void sleepMilliseconds(int milliseconds) override { host_.sleepServing(milliseconds); }

 private:
  DriverHost& host_;
  platform::IClock& native_;
};

}  // namespace

DriverHost::DriverHost(BackendFactory factory) : factory_(std::move(factory)) {}

DriverHost::~DriverHost() {
  if (thread_.joinable())
    stop([](DriverAccess&) {});
}

bool DriverHost::start(std::string& why) {
  std::mutex mutex;
  std::condition_variable readyChanged;
  bool ready = false;
  bool created = false;
  thread_ = std::thread([&, this] {
    threadMain(why, created, [&] {
      std::lock_guard lock(mutex);
      ready = true;
      readyChanged.notify_all();
    });
  });
  std::unique_lock lock(mutex);
  readyChanged.wait(lock, [&] { return ready; });
  lock.unlock();
  if (!created) {
    thread_.join();
    return false;
  }
  return true;
}

void DriverHost::threadMain(std::string& why, bool& created, const std::function<void()>& ready) {
  threadId_ = std::this_thread::get_id();
  clock_ = std::make_unique<ServingClock>(*this, *platform::nativeServices().clock);
  try {
    backend_ = factory_(*clock_);
    std::string reason;
    const std::int32_t hr = backend_->createDriver(driver_, reason);
    if (hr < 0 || !driver_) {
      why = "cannot create " + std::string(client::kDriverProgId) + " (" + client::formatCode(hr) +
            ")" + (reason.empty() ? "" : ": " + reason);
    } else {
      loop_ = makeDriverLoop(*this, queue_);
      created = true;
    }
  } catch (const std::exception& e) {
    why = e.what();
  }
  const bool ok = created;
  ready();
  if (ok)
    loop_->run(quit_);
  driver_.reset();
  backend_.reset();
  loop_.reset();
}

void DriverHost::post(Work work, bool mayWait) {
  queue_.push({[this, work = std::move(work)] {
                 DriverAccess access{*backend_, driver_};
                 try {
                   work(access);
                 } catch (const std::exception&) {
                   // The work answers its own client; a failure here must not end the thread.
                 }
               },
               mayWait});
  if (loop_)
    loop_->wake();
}

void DriverHost::stop(Work last) {
  if (!thread_.joinable())
    return;
  queue_.clear();
  post([this, last = std::move(last)](DriverAccess& access) {
    try {
      last(access);
    } catch (const std::exception&) {
    }
    quit_ = true;
    queue_.close();
    loop_->wake();
  });
  thread_.join();
}

void DriverHost::serveQueue() {
  while (!quit_) {
    auto item = queue_.take(depth_ > 0);
    if (!item)
      return;
    ++depth_;
    item->work();
    --depth_;
  }
}

void DriverHost::sleepServing(int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(milliseconds > 0 ? milliseconds : 0);
  if (std::this_thread::get_id() != threadId_ || depth_ != 1) {
    std::this_thread::sleep_until(deadline);
    return;
  }
  while (std::chrono::steady_clock::now() < deadline && !quit_) {
    serveQueue();
    queue_.waitUntil(deadline);
  }
}

}  // namespace tramox::alpaca
