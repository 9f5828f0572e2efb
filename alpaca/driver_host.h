#pragma once
// The one thread that owns the driver object. Every call reaches the driver there, one at a
// time, as in a single-threaded apartment; HTTP threads queue their calls and are answered
// when the call is done.
//
// Synchronous slews: the driver's slew wait sleeps between its polls through the clock the
// host lends the module (POSIX) or through a sleep that dispatches the host's queued-call
// message (Windows). That sleep serves queued calls, so clients polling Slewing or sending
// AbortSlew are answered during the slew. Re-entrancy stays safe because only the slew wait
// serves, between two polls, when the driver has no member half done; the calls served
// there are those that do not wait themselves, one at a time, so calls never nest more than
// one deep; a second synchronous slew waits in the queue until the first has returned.
//
// Stops first: a stop (an abort, a rate of 0, a released paddle button) goes ahead of every
// queued call, and a call blocked on another process (a settings store whose lock that
// process holds) serves the queued stops every few milliseconds while it waits, whatever
// its depth. Stops touch only the controller and the log, never the stores, so running one
// inside a half-done member is safe; they never wait themselves.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "alpaca/driver_host_loop.h"
#include "alpaca/work_queue.h"
#include "client/driver_object.h"
#include "platform/clock.h"

namespace tramox::alpaca {

struct DriverAccess {
  client::IClientBackend& backend;
  client::ObjectRef driver;

  client::DriverObject object() const { return {backend, driver}; }
};

// How long leaving waits for a synchronous slew to return after its abort before it
// disconnects inside it.
inline constexpr double kSlewReturnGraceSeconds = 3.0;

class DriverHost {
 public:
  using Work = std::function<void(DriverAccess&)>;
  // Makes the backend on the driver thread (a Windows backend joins that thread's apartment).
  // lentClock: the clock to lend the driver module, whose sleep serves queued calls.
  using BackendFactory = std::function<std::unique_ptr<client::IClientBackend>(platform::IClock&)>;

  explicit DriverHost(BackendFactory factory);
  ~DriverHost();
  DriverHost(const DriverHost&) = delete;
  DriverHost& operator=(const DriverHost&) = delete;

  // Starts the thread and creates "TRAMOX.Telescope" there. False, with the reason, when the
  // driver object cannot be created.
  bool start(std::string& why);
  // Queues a call; mayWait marks one that can wait for the mount (see above).
  void post(Work work, bool mayWait = false);
  // Queues a stop, ahead of every other call.
  void postStop(Work work);
  // Drops the calls still queued; runs stops at once (even in the middle of a synchronous
  // slew), then last (e.g. a disconnect) once a synchronous slew has returned, or within it
  // after kSlewReturnGraceSeconds; releases the driver object and ends the thread.
  void stop(Work stops, Work last);

  // Runs what is queued; nested inside a call's wait, only calls that do not wait. For the
  // platform's thread loop and the lent clock. Whether it ran any.
  bool serveQueue();
  // Sleeps on the driver thread, serving queued calls meanwhile when inside a call.
  void sleepServing(int milliseconds);
  // Sleeps on the driver thread, serving queued stops meanwhile when inside a call.
  void sleepServingStops(int milliseconds);

 private:
  void threadMain(std::string& why, bool& created, const std::function<void()>& ready);
  void enqueue(Work work, bool mayWait, bool stop);
  void run(WorkQueue::Item& item);
  void sleepServingWith(int milliseconds, bool stopsOnly);

  BackendFactory factory_;
  WorkQueue queue_;
  std::thread thread_;
  std::thread::id threadId_;
  std::unique_ptr<platform::IClock> clock_;
  std::unique_ptr<client::IClientBackend> backend_;
  client::ObjectRef driver_;
  int depth_ = 0;  // calls running on the driver thread's stack
  bool quit_ = false;
  // Released by the thread as it ends, maybe while another thread queues a last call.
  std::mutex loopLock_;
  std::unique_ptr<DriverLoop> loop_;
};

}  // namespace tramox::alpaca
