#pragma once
// An owning interface reference: AddRef on copy, Release on destruction.
#include <utility>

namespace tramox::server::binding {

template <class T>
class ComRef {
 public:
  ComRef() = default;
  // Takes over a reference the caller already owns.
  static ComRef adopt(T* p) {
    ComRef r;
    r.p_ = p;
    return r;
  }
  // Adds a reference of its own.
  static ComRef share(T* p) {
    if (p) {
      p->AddRef();
    }
    return adopt(p);
  }
  ComRef(const ComRef& other) : p_(other.p_) {
    if (p_) {
      p_->AddRef();
    }
  }
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComRef() { reset(); }

  void reset() {
    if (T* p = std::exchange(p_, nullptr)) {
      p->Release();
    }
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held first.
  T** out() {
    reset();
    return &p_;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace tramox::server::binding
