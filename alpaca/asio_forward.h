#pragma once
// Boost.Asio's I/O context by name only, so the headers that hand it on need not pull in Asio.
namespace boost::asio {
class io_context;
}  // namespace boost::asio
