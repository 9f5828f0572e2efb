#include "server/binding/variant.h"

#include <utility>

namespace tramox::server::binding {

Variant::Variant(const Variant& other)
    : type_(other.type_),
      number_(other.number_),
      text_(other.text_),
      unknown_(other.unknown_),
      dispatch_(other.dispatch_) {
  if (unknown_) {
    unknown_->AddRef();
  }
}

Variant::Variant(Variant&& other) noexcept : Variant() {
  swap(other);
}

Variant& Variant::operator=(Variant other) noexcept {
  swap(other);
  return *this;
}

Variant::~Variant() {
  if (unknown_) {
    unknown_->Release();
  }
}

void Variant::swap(Variant& other) noexcept {
  std::swap(type_, other.type_);
  std::swap(number_, other.number_);
  text_.swap(other.text_);
  std::swap(unknown_, other.unknown_);
  std::swap(dispatch_, other.dispatch_);
}

Variant Variant::ofBool(bool v) {
  Variant r;
  r.type_ = VarType::Bool;
  r.number_.b = v;
  return r;
}

Variant Variant::ofInt32(std::int32_t v) {
  Variant r;
  r.type_ = VarType::Int32;
  r.number_.i = v;
  return r;
}

Variant Variant::ofDouble(double v) {
  Variant r;
  r.type_ = VarType::Double;
  r.number_.d = v;
  return r;
}

Variant Variant::ofDate(double automationDate) {
  Variant r = ofDouble(automationDate);
  r.type_ = VarType::Date;
  return r;
}

Variant Variant::ofText(std::string v) {
  Variant r;
  r.type_ = VarType::Text;
  r.text_ = std::move(v);
  return r;
}

Variant Variant::ofDispatch(IDispatch* object) {
  Variant r;
  r.type_ = VarType::Dispatch;
  r.dispatch_ = object;
  r.unknown_ = object;
  if (object) {
    object->AddRef();
  }
  return r;
}

Variant Variant::ofUnknown(IUnknown* object) {
  Variant r;
  r.type_ = VarType::Unknown;
  r.unknown_ = object;
  if (object) {
    object->AddRef();
  }
  return r;
}

}  // namespace tramox::server::binding
