// Any dispatch identifier, flags, argument list and named identifiers against the rate
// collections and a rate: an answer code, never a crash or a leak.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "server/binding/automation_objects.h"
#include "server/portable/client_runtime.h"

namespace binding = tramox::server::binding;
namespace portable = tramox::server::portable;
using binding::Variant;

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int32_t int32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      v = (v << 8) | byte();
    }
    return static_cast<std::int32_t>(v);
  }
  double number() {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
      bits = (bits << 8) | byte();
    }
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  std::string text() {
    std::string s;
    for (std::uint8_t n = byte() % 12; n > 0; --n) {
      s += static_cast<char>(byte());
    }
    return s;
  }
  bool more() const { return pos_ < size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

Variant anyVariant(Input& in, binding::IDispatch* self) {
  switch (in.byte() % 7) {
    case 0:
      return Variant();
    case 1:
      return Variant::ofInt32(in.int32());
    case 2:
      return Variant::ofDouble(in.number());
    case 3:
      return Variant::ofText(in.text());
    case 4:
      return Variant::ofBool(in.byte() & 1);
    case 5:
      return Variant::ofDate(in.number());
    default:
      return Variant::ofDispatch(self);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  std::vector<binding::ComRef<binding::IDispatch>> objects;
  objects.push_back(binding::newRatesObject(
      std::make_shared<tramox::rates::TRates>(nullptr, nullptr, 1.0, 2.0, 3.0, 3)));
  objects.push_back(
      binding::newTrackingRatesObject(std::make_shared<tramox::rates::TTrackingRatesCol>()));
  objects.push_back(binding::newRateObject(std::make_shared<tramox::rates::TRate>()));
  while (in.more()) {
    binding::IDispatch& target = *objects[in.byte() % objects.size()].get();
    const std::int32_t dispid = static_cast<std::int8_t>(in.byte());
    const std::uint16_t flags = in.byte() % 17;
    const std::uint32_t argCount = in.byte() % 4;
    const std::uint32_t namedCount = in.byte() % 4;
    std::vector<Variant> args;
    for (std::uint32_t i = 0; i < argCount; ++i) {
      args.push_back(anyVariant(in, &target));
    }
    std::vector<tramox::server::DispId> named;
    for (std::uint32_t i = 0; i < namedCount; ++i) {
      named.push_back(static_cast<std::int8_t>(in.byte()));
    }
    binding::DispParams params{args.data(), named.data(), argCount, namedCount};
    Variant result;
    binding::ExcepInfo excep;
    std::uint32_t argErr = 0;
    target.Invoke(dispid, flags, &params, &result, &excep, &argErr);
    if (in.byte() % 4 == 0) {
      const std::string names[] = {in.text(), in.text()};
      tramox::server::DispId ids[2];
      target.GetIDsOfNames(names, 2, ids);
    }
  }
  return 0;
}
