#pragma once
// A rate collection: its dispatch interface plus IEnumVARIANT on the same object, so that
// _NewEnum hands out the collection itself and every enumerator shares its one cursor.
#include <cstdint>
#include <memory>

#include "server/binding/dispatch_object.h"
#include "server/binding/member_binding.h"

namespace tramox::server::binding {

template <class Collection>
class CollectionObject final : public DispatchObject<Collection>, public IEnumVariant {
  using Base = DispatchObject<Collection>;

 public:
  using Base::Base;

  HResult QueryInterface(const Guid& iid, void** object) override {
    return Base::QueryInterface(iid, object);
  }
  std::uint32_t AddRef() override { return Base::AddRef(); }
  std::uint32_t Release() override { return Base::Release(); }

  HResult Invoke(DispId member, std::uint16_t flags, DispParams* params, Variant* result,
                 ExcepInfo* excepInfo, std::uint32_t* argErr) override {
    if (member != kDispIdNewEnum) {
      return Base::Invoke(member, flags, params, result, excepInfo, argErr);
    }
    BoundCall call;  // same checks of flags and arguments as every other member
    const HResult hr =
        bindCall(*this->classInfo().defaultInterface, member, flags, params, call, argErr);
    if (status::failed(hr)) {
      return hr;
    }
    // The cursor is not reset: the collection is its own enumerator.
    if (result) {
      *result = Variant::ofUnknown(static_cast<IEnumVariant*>(this));
    }
    return status::kOk;
  }

  HResult Next(std::uint32_t count, Variant* items, std::uint32_t* fetched) override {
    if (fetched) {
      *fetched = 0;
    }
    if (count > 0 && !items) {
      return status::kPointer;
    }
    if (count > 1 && !fetched) {
      return status::kPointer;
    }
    auto produced = this->target().Next(count);
    std::uint32_t stored = 0;
    try {
      for (auto& element : produced.elements) {
        items[stored++] = binding::resultOf(element);
      }
    } catch (...) {
      return status::kOutOfMemory;
    }
    if (fetched) {
      *fetched = stored;
    }
    return produced.status;
  }
  HResult Skip(std::uint32_t count) override { return this->target().Skip(count); }
  HResult Reset() override { return this->target().Reset(); }
  HResult Clone(IEnumVariant** enumerator) override;

 protected:
  void* otherInterface(const Guid& iid) override {
    return iid == kIidIEnumVariant ? static_cast<IEnumVariant*>(this) : nullptr;
  }
};

}  // namespace tramox::server::binding
