#pragma once
// The enumerator both rate collections share. A collection is its own enumerator, so the
// collection, every enumerator taken from it and every enumeration move one cursor: a second
// pass over the same object yields nothing unless Reset is called first.
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "common/driver_error.h"

namespace tramox::rates {

// Enumerator status codes, with the values the automation layer hands on unchanged.
inline constexpr std::int32_t kSOk = 0;
inline constexpr std::int32_t kSFalse = 1;

template <class Element>
struct NextResult {
  // kSOk when every requested element was produced, kSFalse when fewer were, or the failure
  // code of an element that could not be produced (its message in errorMessage).
  std::int32_t status = kSOk;
  // The elements produced, in order; on failure, those produced before it. The cursor has
  // moved past exactly these.
  std::vector<Element> elements;
  std::string errorMessage;
};

template <class Element>
class EnumeratedCollection {
 public:
  virtual ~EnumeratedCollection() = default;

  std::int32_t Get_Count() const { return count_; }
  // 1-based; the element at cursor position p is Get_Item(p + 1).
  virtual Element Get_Item(std::int32_t index) = 0;

  // Never throws: a failure to produce an element ends the call with its code, so an
  // enumerating client gets an error result instead of a partly filled array it cannot see.
  NextResult<Element> Next(std::uint32_t count) {
    NextResult<Element> result;
    while (result.elements.size() < count && cursor_ < count_) {
      try {
        result.elements.push_back(Get_Item(cursor_ + 1));
      } catch (const DriverError& e) {
        return failed(std::move(result), e.code(), e.what());
      } catch (const std::exception& e) {
        return failed(std::move(result), codes::kUnexpected, e.what());
      } catch (...) {
        return failed(std::move(result), codes::kUnexpected, "Unexpected failure");
      }
      ++cursor_;
    }
    result.status = result.elements.size() == count ? kSOk : kSFalse;
    return result;
  }

  // Widened arithmetic: a client's count near 2^32 must not wrap the cursor back.
  std::int32_t Skip(std::uint32_t count) {
    const std::int64_t target = static_cast<std::int64_t>(cursor_) + count;
    if (target > count_) {
      cursor_ = count_;
      return kSFalse;
    }
    cursor_ = static_cast<std::int32_t>(target);
    return kSOk;
  }

  std::int32_t Reset() {
    cursor_ = 0;
    return kSOk;
  }

  std::int32_t cursor() const { return cursor_; }

 protected:
  explicit EnumeratedCollection(std::int32_t count) : count_(count) {}
  EnumeratedCollection(const EnumeratedCollection&) = default;
  EnumeratedCollection& operator=(const EnumeratedCollection&) = default;

 private:
  static NextResult<Element> failed(NextResult<Element> result, std::int32_t code,
                                    std::string message) {
    result.status = code;
    result.errorMessage = std::move(message);
    return result;
  }

  std::int32_t count_;
  std::int32_t cursor_ = 0;
};

}  // namespace tramox::rates
