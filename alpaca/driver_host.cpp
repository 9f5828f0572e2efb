#include "alpaca/driver_host.h"

#include <condition_variable>
#include <future>
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
  void sleepWhileBlocked(int milliseconds) override { host_.sleepServingStops(milliseconds); }

 private:
  DriverHost& host_;
  platform::IClock& native_;
};

}  // namespace

DriverHost::DriverHost(BackendFactory factory) : factory_(std::move(factory)) {}

DriverHost::~DriverHost() {
  if (thread_.joinable()) {
    stop([](DriverAccess&) {}, [](DriverAccess&) {});
  }
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
  platform::lendStoreWaitClock(clock_.get());
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
  if (ok) {
    loop_->run(quit_);
  }
  driver_.reset();
  backend_.reset();
  {
    const std::lock_guard lock(loopLock_);
    loop_.reset();
  }
  platform::lendStoreWaitClock(nullptr);
}

void DriverHost::post(Work work, bool mayWait) {
  enqueue(std::move(work), mayWait, false);
}

void DriverHost::postStop(Work work) {
  enqueue(std::move(work), false, true);
}

void DriverHost::enqueue(Work work, bool mayWait, bool stop) {
  queue_.push({[this, work = std::move(work)] {
                 DriverAccess access{*backend_, driver_};
                 try {
                   work(access);
                 } catch (const std::exception&) {
                   // The work answers its own client; a failure here must not end the thread.
                 }
               },
               mayWait, stop});
  const std::lock_guard lock(loopLock_);
  if (loop_) {
    loop_->wake();
  }
}

void DriverHost::stop(Work stops, Work last) {
  if (!thread_.joinable()) {
    return;
  }
  queue_.clear();
  postStop(std::move(stops));
  // Taken once: as a call that waits, so after a synchronous slew has returned and answered
  // its client, or, when the slew does not end, as one that does not, inside it.
  auto ran = std::make_shared<std::promise<void>>();
  auto once = std::make_shared<std::once_flag>();
  const Work finish = [this, ran, once, last = std::move(last)](DriverAccess& access) {
    std::call_once(*once, [&] {
      try {
        last(access);
      } catch (const std::exception&) {
      }
      quit_ = true;
      queue_.close();
      loop_->wake();
      ran->set_value();
    });
  };
  post(finish, true);
  if (ran->get_future().wait_for(std::chrono::duration<double>(kSlewReturnGraceSeconds)) !=
      std::future_status::ready) {
    post(finish, false);
  }
  thread_.join();
}

void DriverHost::run(WorkQueue::Item& item) {
  ++depth_;
  item.work();
  --depth_;
}

bool DriverHost::serveQueue() {
  bool served = false;
  while (!quit_) {
    auto item = queue_.take(depth_ > 0);
    if (!item) {
      break;
    }
    run(*item);
    served = true;
  }
  return served;
}

void DriverHost::sleepServing(int milliseconds) {
  sleepServingWith(milliseconds, false);
}

void DriverHost::sleepServingStops(int milliseconds) {
  sleepServingWith(milliseconds, true);
}

void DriverHost::sleepServingWith(int milliseconds, bool stopsOnly) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(milliseconds > 0 ? milliseconds : 0);
  const bool serves =
      std::this_thread::get_id() == threadId_ && (stopsOnly ? depth_ > 0 : depth_ == 1);
  if (!serves) {
    std::this_thread::sleep_until(deadline);
    return;
  }
  while (std::chrono::steady_clock::now() < deadline && !quit_) {
    if (stopsOnly) {
      while (auto item = queue_.takeStop()) {
        run(*item);
      }
    } else {
      serveQueue();
    }
    queue_.waitUntil(deadline);
  }
}

}  // namespace tramox::alpaca
