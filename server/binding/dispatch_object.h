#pragma once
// One automation object: reference counting, QueryInterface for IUnknown, IDispatch and the
// class's default interface, and late binding through the class's member table to the
// implementation object. Counts as a live object of the module while it exists.
#include <atomic>
#include <memory>
#include <span>

#include "server/binding/dispatcher.h"
#include "server/binding/module_counts.h"

namespace tramox::server::binding {

template <class Target>
class DispatchObject : public IDispatch {
 public:
  DispatchObject(const ClassInfo& cls, std::span<const Invoker<Target>> invokers,
                 std::shared_ptr<Target> target)
      : cls_(cls), invokers_(invokers), target_(std::move(target)) {}
  virtual ~DispatchObject() = default;
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  HResult QueryInterface(const Guid& iid, void** object) override {
    if (!object) {
      return status::kPointer;
    }
    *object = nullptr;
    if (iid == kIidIUnknown || iid == kIidIDispatch || iid == cls_.defaultInterface->iid) {
      *object = static_cast<IDispatch*>(this);
    } else {
      *object = otherInterface(iid);
    }
    if (!*object) {
      return status::kNoInterface;
    }
    AddRef();
    return status::kOk;
  }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    const std::uint32_t left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }

  HResult GetIDsOfNames(const std::string* names, std::uint32_t count, DispId* ids) override {
    return idsOfNames(*cls_.defaultInterface, names, count, ids);
  }
  HResult Invoke(DispId member, std::uint16_t flags, DispParams* params, Variant* result,
                 ExcepInfo* excepInfo, std::uint32_t* argErr) override {
    return invokeMember<Target>(cls_, invokers_, *target_, member, flags, params, result, excepInfo,
                                argErr);
  }

  const ClassInfo& classInfo() const { return cls_; }
  std::span<const Invoker<Target>> invokers() const { return invokers_; }
  Target& target() { return *target_; }
  const std::shared_ptr<Target>& sharedTarget() const { return target_; }

 protected:
  // Further interfaces of derived objects (the collections' enumerator), without AddRef.
  virtual void* otherInterface(const Guid&) { return nullptr; }

 private:
  LiveObjectToken token_;
  std::atomic<std::uint32_t> references_{1};  // the creator's reference
  const ClassInfo& cls_;
  std::span<const Invoker<Target>> invokers_;
  std::shared_ptr<Target> target_;
};

}  // namespace tramox::server::binding
