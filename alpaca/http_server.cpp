#include "alpaca/http_server.h"

#include <array>
#include <atomic>

#include <boost/asio/dispatch.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <cstddef>
#include <memory_resource>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "alpaca/listening_socket.h"
#include "alpaca/process_resources.h"

namespace tramox::alpaca {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

// A failed write or a client that stopped reading must not hold the connection forever.
constexpr std::chrono::seconds kWriteLimit{30};
// How long, and how much, a closing connection reads of what its client still sends.
constexpr std::chrono::seconds kLingerLimit{2};
constexpr std::size_t kLingerBytes = 1 << 20;
// How long stopping waits for the answers already handed over to be sent.
constexpr std::chrono::seconds kAnswerGrace{1};
constexpr std::size_t kReadChunk = 16384;
// Room above the head limit for the parser, whose own count is not exact: the bytes it took
// are checked against the limit instead.
constexpr std::size_t kHeadSlack = 1024;
constexpr std::string_view kTooManyConnections =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=utf-8\r\n"
    "X-Content-Type-Options: nosniff\r\nRetry-After: 1\r\nConnection: close\r\n"
    "Content-Length: 21\r\n\r\nToo many connections\n";

// An answer's header fields live in room on the writer's stack, not one allocation each.
using AnswerFields = http::basic_fields<std::pmr::polymorphic_allocator<char>>;
using AnswerMessage = http::response<http::string_body, AnswerFields>;
constexpr std::size_t kFieldRoom = 2048;

// The message as it goes on the wire, into out (whose room is reused).
void serialize(AnswerMessage& message, std::string& out) {
  out.clear();
  http::response_serializer<http::string_body, AnswerFields> serializer(message);
  beast::error_code ec;
  while (!ec && !serializer.is_done()) {
    serializer.next(ec, [&](beast::error_code&, const auto& buffers) {
      for (const auto buffer : beast::buffers_range_ref(buffers)) {
        out.append(static_cast<const char*>(buffer.data()), buffer.size());
      }
      serializer.consume(beast::buffer_bytes(buffers));
    });
  }
}

bool isParseError(const beast::error_code& ec) {
  return ec.category() == http::make_error_code(http::error::bad_target).category();
}

// What every connection of one server shares; it outlives them all.
struct ServerShared {
  const RouteTable& routes;
  const HttpServerLimits limits;
  const OriginRule origins;
  ConnectionLimits connections;
  std::atomic<int> unwritten{0};     // answers handed over and not yet written
  std::atomic<bool> stopped{false};  // later answers are dropped
};

class Session : public std::enable_shared_from_this<Session> {
 public:
  // The connection from peer was admitted; the session gives its place back when it ends.
  Session(tcp::socket socket, ServerShared& shared, std::string peer)
      : stream_(std::move(socket)),
        shared_(shared),
        limits_(shared.limits),
        peer_(std::move(peer)),
        idle_(stream_.get_executor()) {}
  ~Session() {
    if (shared_.connections.release(peer_)) {
      releaseFreedMemory();
    }
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void start() {
    asio::dispatch(stream_.get_executor(), [self = shared_from_this()] {
      // Lets the thread with the answer write it without ever blocking (see write).
      beast::error_code ignored;
      self->stream_.socket().non_blocking(true, ignored);
      self->read();
    });
  }

 private:
  // A keep-alive connection may wait for its next request longer than a request may take to
  // arrive, so a slow sender cannot hold a connection for the idle time per byte.
  void read() {
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(limits_.headerBytes + kHeadSlack));
    parser_->body_limit(limits_.bodyBytes);
    if (buffer_.size() > 0) {
      return readHead();
    }
    stream_.expires_after(std::chrono::seconds(limits_.idleSeconds));
    stream_.async_read_some(buffer_.prepare(kReadChunk),
                            [self = shared_from_this()](beast::error_code ec, std::size_t n) {
                              if (ec) {
                                return self->close();
                              }
                              self->buffer_.commit(n);
                              self->readHead();
                            });
  }

  // A request that came whole, as nearly all do, is parsed at once and needs no deadline.
  void readHead() {
    beast::error_code ec;
    const std::size_t taken = parser_->put(buffer_.data(), ec);
    buffer_.consume(taken);
    if (ec != http::error::need_more) {
      if (!ec && taken > limits_.headerBytes) {
        ec = http::error::header_limit;
      }
      if (!ec && !parser_->is_done() && buffer_.size() > 0) {
        buffer_.consume(parser_->put(buffer_.data(), ec));
        if (ec == http::error::need_more) {
          ec = {};  // a chunk's head comes later
        }
      }
      if (ec || parser_->is_done()) {
        return onRead(ec);
      }
      stream_.expires_after(std::chrono::seconds(limits_.requestSeconds));
      return readBody();
    }
    stream_.expires_after(std::chrono::seconds(limits_.requestSeconds));
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = shared_from_this()](beast::error_code ec, std::size_t taken) {
                              if (!ec && taken > self->limits_.headerBytes) {
                                ec = http::error::header_limit;
                              }
                              if (ec || self->parser_->is_done()) {
                                return self->onRead(ec);
                              }
                              self->readBody();
                            });
  }

  void readBody() {
    http::async_read(
        stream_, buffer_, *parser_,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onRead(ec); });
  }

  void onRead(const beast::error_code& ec) {
    if (ec == http::error::body_limit) {
      return answerAndClose(textResponse(413, "Request body over 64 KiB"));
    }
    if (ec == http::error::header_limit) {
      return answerAndClose(textResponse(431, "Request line and headers over 8 KiB"));
    }
    if (ec == http::error::end_of_stream || ec == http::error::partial_message) {
      return close();
    }
    if (ec && isParseError(ec)) {
      return answerAndClose(textResponse(400, "Malformed request: " + ec.message()));
    }
    if (ec) {
      return close();
    }
    onRequest();
  }

  void onRequest() {
    auto& message = parser_->get();
    HttpRequest request;
    request.methodName = std::string(message.method_string());
    request.method = methodNamed(request.methodName);
    const std::string_view target(message.target().data(), message.target().size());
    const auto question = target.find('?');
    request.path = target.substr(0, question);
    if (question != std::string_view::npos) {
      request.query = target.substr(question + 1);
    }
    request.contentType = std::string(message[http::field::content_type]);
    request.host = std::string(message[http::field::host]);
    request.origin = std::string(message[http::field::origin]);
    request.body = std::move(message.body());
    request.remoteAddress = peer_;  // the connection's, learnt when it was accepted
    version_ = message.version();
    keepAlive_ = message.keep_alive();
    // No deadline while the request waits for the driver: a synchronous slew may take minutes.
    stream_.expires_never();

    // The Host names the server the client meant; two leave it open which.
    const auto hosts = message.count(http::field::host);
    if (hosts > 1 || (hosts == 0 && version_ >= 11)) {
      return answerAndClose(textResponse(400, "An HTTP/1.1 request names exactly one Host"));
    }
    if (!mayCommand(request.origin, request.host, shared_.origins)) {
      return write(textResponse(403, "Requests from a web page of another site are refused"));
    }
    if (keepAlive_ && buffer_.size() == 0) {
      readAhead();
    }
    // The thread with the answer, the driver thread most often, writes it itself even when
    // other calls wait for it: one non-blocking send costs it less than handing the answer to an
    // I/O thread costs the machine.
    Reply reply = [self = shared_from_this()](HttpResponse response) {
      ++self->shared_.unwritten;
      if (self->shared_.stopped) {
        return self->answered();
      }
      self->write(std::move(response), true);
    };
    try {
      shared_.routes.dispatch(request, std::move(reply));
    } catch (const std::exception& e) {
      write(textResponse(500, std::string("Server fault: ") + e.what()));
    }
  }

  // The next request is read for while this one is answered, so that the thread with the
  // answer only writes it: the connection goes on without waking an I/O thread. Whichever of
  // the two ends second, the answer or the read, carries on (resume).
  void readAhead() {
    aheadStarted_ = true;
    handover_.store(0, std::memory_order_relaxed);
    watchIdle();
    awaitNext();
  }

  // A wait rather than a read: the client sends nothing before it has the answer, so a read
  // tried at once would only fail.
  void awaitNext() {
    readingAhead_ = true;
    stream_.socket().async_wait(
        tcp::socket::wait_read,
        [self = shared_from_this()](beast::error_code ec) { self->onReadable(ec); });
  }

  void onReadable(beast::error_code ec) {
    readingAhead_ = false;
    if (closing_) {
      closing_ = false;
      return close();
    }
    if (!ec) {
      const std::size_t n = stream_.socket().read_some(buffer_.prepare(kReadChunk), ec);
      if (ec == asio::error::would_block || ec == asio::error::try_again) {
        return awaitNext();
      }
      if (!ec) {
        buffer_.commit(n);
      }
    }
    aheadError_ = ec;
    if (handover_.fetch_or(kNextArrived, std::memory_order_acq_rel) & kAnswerSent) {
      resume();
    }
  }

  // From the thread that sent the answer, with the whole answer gone.
  void answerSent() {
    answeredAt_.store(std::chrono::steady_clock::now().time_since_epoch().count(),
                      std::memory_order_relaxed);
    if (handover_.fetch_or(kAnswerSent, std::memory_order_acq_rel) & kNextArrived) {
      asio::dispatch(stream_.get_executor(), [self = shared_from_this()] { self->resume(); });
    }
  }

  void resume() {
    aheadStarted_ = false;
    if (aheadError_) {
      return close();
    }
    read();
  }

  // The idle limit of a connection that reads ahead: the read has no deadline of its own, so
  // a timer of the connection's looks now and then whether the answer has been waiting for
  // the next request longer than the limit. One wait per idle limit, not one per request.
  void watchIdle() {
    if (idleWatched_) {
      return;
    }
    idleWatched_ = true;
    idle_.expires_after(std::chrono::seconds(limits_.idleSeconds));
    idle_.async_wait([weak = weak_from_this()](beast::error_code ec) {
      if (auto self = weak.lock()) {
        self->onIdleWatch(ec);
      }
    });
  }

  void onIdleWatch(const beast::error_code& ec) {
    idleWatched_ = false;
    if (ec || !readingAhead_ || closing_) {
      return;  // a read of the usual kind has its own deadline
    }
    const auto limit = std::chrono::seconds(limits_.idleSeconds);
    auto deadline = std::chrono::steady_clock::now() + limit;  // still waiting for its answer
    if (handover_.load(std::memory_order_acquire) & kAnswerSent) {
      deadline = std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(
                     answeredAt_.load(std::memory_order_relaxed))) +
                 limit;
      if (std::chrono::steady_clock::now() >= deadline) {
        return close();
      }
    }
    idleWatched_ = true;
    idle_.expires_at(deadline);
    idle_.async_wait([weak = weak_from_this()](beast::error_code waited) {
      if (auto self = weak.lock()) {
        self->onIdleWatch(waited);
      }
    });
  }

  void answerAndClose(HttpResponse response) {
    keepAlive_ = false;
    write(std::move(response));
  }

  // Called while nothing else touches the connection: its request is read and nothing is
  // pending on it but, when reading ahead, the wait for the next request. So the thread with
  // the answer, the driver thread often, sends it at once with one non-blocking call. What the
  // socket does not take at once goes through the I/O threads, under the write limit.
  // counted: the answer was handed over by a reply.
  void write(HttpResponse response, bool counted = false) {
    std::array<std::byte, kFieldRoom> room;
    std::pmr::monotonic_buffer_resource arena(room.data(), room.size());
    AnswerMessage message(static_cast<http::status>(response.status), version_ ? version_ : 11,
                          std::string(), AnswerFields(&arena));
    message.set(http::field::server, "TRAMOX");
    message.set(http::field::content_type, response.contentType);
    message.set(http::field::cache_control, "no-store");
    message.set("X-Content-Type-Options", "nosniff");
    for (const auto& [name, value] : response.headers) {
      message.set(name, value);
    }
    message.keep_alive(keepAlive_);
    message.body() = std::move(response.body);
    message.prepare_payload();
    keepAlive_ = message.keep_alive();
    serialize(message, wire_);
    beast::error_code ec;
    const std::size_t sent = stream_.socket().write_some(asio::buffer(wire_), ec);
    if (ec && ec != asio::error::would_block && ec != asio::error::try_again) {
      return asio::dispatch(stream_.get_executor(), [self = shared_from_this(), counted] {
        self->close();
        if (counted) {
          self->answered();
        }
      });
    }
    if (ec) {
      wire_.erase();  // nothing went; the whole text follows
    } else {
      wire_.erase(0, sent);
    }
    if (wire_.empty() && keepAlive_ && aheadStarted_) {
      if (counted) {
        answered();
      }
      return answerSent();
    }
    asio::dispatch(stream_.get_executor(), [self = shared_from_this(), counted] {
      if (self->wire_.empty()) {
        return self->afterWrite({}, counted);
      }
      self->stream_.expires_after(kWriteLimit);
      asio::async_write(
          self->stream_, asio::buffer(self->wire_),
          [self, counted](beast::error_code ec, std::size_t) { self->afterWrite(ec, counted); });
    });
  }

  void afterWrite(const beast::error_code& ec, bool counted) {
    wire_.clear();
    if (ec || !keepAlive_) {
      close();
    } else if (aheadStarted_) {
      answerSent();
    } else {
      read();
    }
    if (counted) {
      answered();
    }
  }

  void answered() { --shared_.unwritten; }

  // Closing a socket with unread data resets the connection, which can destroy an answer
  // (413, 431, 400) before the client has read it, or fail the client's own write: so the
  // sending side closes first and what the client still sends is read and dropped, for a
  // bounded time and amount, before the socket closes.
  void close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    idle_.cancel();
    if (readingAhead_) {
      // The read ahead has no deadline: it is cancelled, and its end drains.
      closing_ = true;
      stream_.socket().cancel(ignored);
      return;
    }
    stream_.expires_after(kLingerLimit);
    drain(0);
  }

  void drain(std::size_t drained) {
    buffer_.clear();
    stream_.async_read_some(
        buffer_.prepare(kReadChunk),
        [self = shared_from_this(), drained](beast::error_code ec, std::size_t bytes) {
          if (ec || drained + bytes > kLingerBytes) {
            beast::error_code ignored;
            self->stream_.socket().close(ignored);
            return;
          }
          self->drain(drained + bytes);
        });
  }

  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  ServerShared& shared_;
  const HttpServerLimits& limits_;
  const std::string peer_;
  unsigned version_ = 11;
  bool keepAlive_ = false;
  std::string wire_;  // the answer as sent, its room kept from one answer to the next
  // Reading ahead (see readAhead). aheadStarted_ is set before the request is handed over and
  // cleared once both ends are in, so the thread with the answer may read it.
  static constexpr unsigned kAnswerSent = 1;
  static constexpr unsigned kNextArrived = 2;
  bool aheadStarted_ = false;
  bool readingAhead_ = false;  // the read is pending; on the connection's strand, as below
  bool closing_ = false;       // cancelled by close(), which goes on when it ends
  bool idleWatched_ = false;
  beast::error_code aheadError_;
  std::atomic<unsigned> handover_{0};
  std::atomic<std::chrono::steady_clock::rep> answeredAt_{0};
  asio::steady_timer idle_;
};

}  // namespace

// Answers a connection over the caps without reading from it, and closes it.
void refuse(tcp::socket socket) {
  beast::error_code ignored;
  socket.non_blocking(true, ignored);
  socket.write_some(asio::buffer(kTooManyConnections.data(), kTooManyConnections.size()), ignored);
  socket.shutdown(tcp::socket::shutdown_both, ignored);
  socket.close(ignored);
}

class HttpServer::Impl {
 public:
  Impl(const RouteTable& routes, HttpServerLimits limits, OriginRule origins)
      : shared_{routes, limits, std::move(origins), ConnectionLimits(limits.connections)},
        acceptor_(io_),
        retry_(io_) {}

  void start(const std::string& bindAddress, std::uint16_t port) {
    listenOn(acceptor_, bindAddress, port);
    port_ = acceptor_.local_endpoint().port();
    accept();
    for (int i = 0; i < shared_.limits.ioThreads; ++i) {
      threads_.emplace_back([this] { io_.run(); });
    }
  }

  std::uint16_t port() const { return port_; }
  asio::io_context& ioContext() { return io_; }

  void stop() {
    asio::post(io_, [this] {
      beast::error_code ignored;
      acceptor_.close(ignored);
      retry_.cancel();
    });
    // An answer handed over just before (a slew's, aborted as the server leaves) still goes.
    const auto deadline = std::chrono::steady_clock::now() + kAnswerGrace;
    while (shared_.unwritten > 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    shared_.stopped = true;
    io_.stop();
    for (std::thread& thread : threads_) {
      thread.join();
    }
    threads_.clear();
  }

 private:
  void accept() {
    acceptor_.async_accept(
        asio::make_strand(io_), [this](beast::error_code ec, tcp::socket socket) {
          if (ec == asio::error::operation_aborted || !acceptor_.is_open()) {
            return;
          }
          if (!ec) {
            beast::error_code ignored;
            std::string peer = socket.remote_endpoint(ignored).address().to_string();
            if (shared_.connections.admit(peer)) {
              std::make_shared<Session>(std::move(socket), shared_, std::move(peer))->start();
            } else {
              refuse(std::move(socket));
            }
            return accept();
          }
          // Out of descriptors or the like: try again shortly rather than spin.
          retry_.expires_after(std::chrono::milliseconds(100));
          retry_.async_wait([this](beast::error_code waited) {
            if (!waited) {
              accept();
            }
          });
        });
  }

  // Before the I/O context, whose destruction ends the sessions still in it.
  ServerShared shared_;
  asio::io_context io_;
  tcp::acceptor acceptor_;
  asio::steady_timer retry_;
  std::vector<std::thread> threads_;
  std::uint16_t port_ = 0;
};

HttpServer::HttpServer(const RouteTable& routes, HttpServerLimits limits, OriginRule origins)
    : impl_(std::make_unique<Impl>(routes, limits, std::move(origins))) {}

HttpServer::~HttpServer() {
  stop();
}

void HttpServer::start(const std::string& bindAddress, std::uint16_t port) {
  impl_->start(bindAddress, port);
}

std::uint16_t HttpServer::port() const {
  return impl_->port();
}

void HttpServer::stop() {
  impl_->stop();
}

asio::io_context& HttpServer::ioContext() {
  return impl_->ioContext();
}

}  // namespace tramox::alpaca
