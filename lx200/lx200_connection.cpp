#include "lx200/lx200_connection.h"

#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <utility>

#include "client/driver_object.h"
#include "lx200/lx200_listener.h"

namespace tramox::lx200 {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

namespace {

// Commands read ahead of the one the driver is doing; past it, reading waits.
constexpr std::size_t kMaxPending = 32;
// A client that stopped reading its answers must not hold the connection forever.
constexpr std::chrono::seconds kWriteLimit{30};
constexpr std::chrono::seconds kSilenceCheck{1};

client::DriverObject driverOf(alpaca::DriverAccess& access) {
  return client::DriverObject(access.backend, access.driver);
}

}  // namespace

Connection::Connection(tcp::socket socket, ListenerShared& shared, std::string peer)
    : socket_(std::move(socket)),
      silenceTimer_(socket_.get_executor()),
      writeTimer_(socket_.get_executor()),
      shared_(shared),
      peer_(std::move(peer)),
      clientId_(shared.nextClientId.fetch_sub(1)),
      session_(std::make_shared<Session>(shared.clock, shared.identity, shared.console)),
      lastHeard_(std::chrono::steady_clock::now()) {}

Connection::~Connection() {
  shared_.limits.release(peer_);
}

void Connection::start() {
  // As an Alpaca client's Connected: the first client connects the mount.
  shared_.host.post([shared = &shared_, session = session_, id = clientId_,
                     peer = peer_](alpaca::DriverAccess& access) {
    shared->sessions.insert(session);
    const alpaca::Answer answer = shared->device.connect(access, true, id);
    if (answer.errorNumber != 0) {
      shared->console("LX200 client " + peer + ": " + answer.errorMessage);
    }
  });
  read();
  watchSilence();
}

void Connection::read() {
  if (reading_ || closed_ || pending_.size() >= kMaxPending) {
    return;
  }
  reading_ = true;
  socket_.async_read_some(asio::buffer(buffer_), [self = shared_from_this()](
                                                     boost::system::error_code ec, std::size_t n) {
    self->reading_ = false;
    if (ec) {
      return self->close();
    }
    self->lastHeard_ = std::chrono::steady_clock::now();
    self->silenced_ = false;
    for (Frame& frame : self->framer_.feed(std::string_view(self->buffer_.data(), n))) {
      self->pending_.push_back({std::move(frame), ++self->received_});
    }
    self->next();
    self->read();
  });
}

void Connection::next() {
  if (busy_ || closed_ || pending_.empty()) {
    return;
  }
  busy_ = true;
  Pending item = std::move(pending_.front());
  pending_.pop_front();
  const bool stop = Session::isStop(item.frame);
  alpaca::DriverHost::Work work = [self = shared_from_this(), session = session_,
                                   item = std::move(item)](alpaca::DriverAccess& access) {
    std::string answer = session->handle(item.frame, item.sequence, driverOf(access));
    asio::post(self->socket_.get_executor(),
               [self, answer = std::move(answer)]() mutable { self->answered(std::move(answer)); });
  };
  if (stop) {
    shared_.host.postStop(std::move(work));
  } else {
    shared_.host.post(std::move(work));
  }
}

void Connection::answered(std::string answer) {
  if (closed_) {
    return;
  }
  if (answer.empty()) {
    busy_ = false;
    next();
    return read();
  }
  auto text = std::make_shared<std::string>(std::move(answer));
  writeTimer_.expires_after(kWriteLimit);
  writeTimer_.async_wait([self = shared_from_this()](boost::system::error_code ec) {
    if (!ec) {
      self->close();
    }
  });
  asio::async_write(socket_, asio::buffer(*text),
                    [self = shared_from_this(), text](boost::system::error_code ec, std::size_t) {
                      self->writeTimer_.cancel();
                      if (ec) {
                        return self->close();
                      }
                      self->busy_ = false;
                      self->next();
                      self->read();
                    });
}

// A client that set a direction moving is heard from at least every second (INDI polls the
// position every second, the planetariums more often); one silent for longer than the limit
// has lost its link, or its program.
void Connection::watchSilence() {
  silenceTimer_.expires_after(kSilenceCheck);
  silenceTimer_.async_wait([self = shared_from_this()](boost::system::error_code ec) {
    if (ec || self->closed_) {
      return;
    }
    const std::chrono::duration<double> quiet = std::chrono::steady_clock::now() - self->lastHeard_;
    if (!self->silenced_ && quiet.count() >= kSilenceStopSeconds) {
      self->silenced_ = true;
      self->shared_.host.postStop(
          [session = self->session_, through = self->received_](alpaca::DriverAccess& access) {
            session->silence(through, driverOf(access));
          });
    }
    self->watchSilence();
  });
}

void Connection::close() {
  if (closed_) {
    return;
  }
  closed_ = true;
  boost::system::error_code ignored;
  socket_.shutdown(tcp::socket::shutdown_both, ignored);
  socket_.close(ignored);
  silenceTimer_.cancel();
  writeTimer_.cancel();
  shared_.host.postStop(
      [session = session_](alpaca::DriverAccess& access) { session->close(driverOf(access)); });
  shared_.host.post(
      [shared = &shared_, session = session_, id = clientId_](alpaca::DriverAccess& access) {
        shared->sessions.erase(session);
        shared->device.connect(access, false, id);
      });
}

}  // namespace tramox::lx200
