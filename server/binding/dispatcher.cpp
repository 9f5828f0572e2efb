#include "server/binding/dispatcher.h"

#include "server/binding/coercion.h"

namespace tramox::server::binding {

HResult idsOfNames(const InterfaceInfo& iface, const std::string* names, std::uint32_t count,
                   DispId* ids) {
  if (count == 0) {
    return status::kOk;
  }
  if (!names || !ids) {
    return status::kInvalidArg;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    ids[i] = kDispIdUnknown;
  }
  const MemberInfo* member = findMemberByName(iface, names[0]);
  if (!member) {
    return status::kDispUnknownName;
  }
  ids[0] = member->dispid;
  // Parameter names come from the member of that name that has them (a put has none).
  const MemberInfo* named = member;
  for (const MemberInfo& m : iface.members) {
    if (m.dispid == member->dispid && m.kind != MemberKind::PropertyPut) {
      named = &m;
    }
  }
  HResult hr = status::kOk;
  for (std::uint32_t i = 1; i < count; ++i) {
    const int position = findParameter(*named, names[i]);
    if (position < 0) {
      hr = status::kDispUnknownName;
    } else {
      ids[i] = position;
    }
  }
  return hr;
}

namespace {

const MemberInfo* pickMember(const InterfaceInfo& iface, DispId dispid, std::uint16_t flags) {
  if (flags & (kDispatchPropertyPut | kDispatchPropertyPutRef)) {
    return findMember(iface, dispid, MemberKind::PropertyPut);
  }
  const MemberInfo* member = nullptr;
  if (flags & kDispatchMethod) {
    member = findMember(iface, dispid, MemberKind::Method);
  }
  // Script hosts ask for properties, the default member and _NewEnum as methods too.
  if (!member && (flags & (kDispatchMethod | kDispatchPropertyGet))) {
    member = findMember(iface, dispid, MemberKind::PropertyGet);
  }
  return member;
}

void setArgErr(std::uint32_t* argErr, std::uint32_t index) {
  if (argErr) {
    *argErr = index;
  }
}

}  // namespace

HResult bindCall(const InterfaceInfo& iface, DispId dispid, std::uint16_t flags,
                 const DispParams* params, BoundCall& call, std::uint32_t* argErr) {
  const DispParams none;
  if (!params) {
    params = &none;
  }
  if (params->argCount > 0 && !params->args) {
    return status::kInvalidArg;
  }
  if (params->namedCount > params->argCount) {
    return status::kInvalidArg;
  }
  if (params->namedCount > 0 && !params->namedArgs) {
    return status::kInvalidArg;
  }
  if ((flags & ~(kDispatchMethod | kDispatchPropertyGet | kDispatchPropertyPut |
                 kDispatchPropertyPutRef)) != 0 ||
      flags == 0) {
    return status::kInvalidArg;
  }

  const MemberInfo* member = pickMember(iface, dispid, flags);
  if (!member) {
    return status::kDispMemberNotFound;
  }
  const auto formal = member->parameters();

  // Which argument (index into params->args) fills each parameter.
  std::array<std::int64_t, 2> source{-1, -1};
  if (member->kind == MemberKind::PropertyPut) {
    // The new value is the one named argument DISPID_PROPERTYPUT; puts here take no index.
    if (params->namedCount != 1 || params->namedArgs[0] != kDispIdPropertyPut) {
      return status::kDispParamNotOptional;
    }
    if (params->argCount != 1) {
      return status::kDispBadParamCount;
    }
    source[0] = 0;
  } else {
    if (params->argCount != formal.size()) {
      return status::kDispBadParamCount;
    }
    for (std::uint32_t n = 0; n < params->namedCount; ++n) {
      const DispId id = params->namedArgs[n];
      if (id < 0 || static_cast<std::size_t>(id) >= formal.size() || source[id] >= 0) {
        setArgErr(argErr, n);
        return status::kDispParamNotFound;
      }
      source[id] = n;
    }
    const std::uint32_t positional = params->argCount - params->namedCount;
    for (std::uint32_t p = 0; p < positional; ++p) {
      if (source[p] >= 0) {  // named and positional both for one parameter
        setArgErr(argErr, static_cast<std::uint32_t>(source[p]));
        return status::kDispParamNotFound;
      }
      source[p] = params->argCount - 1 - p;
    }
  }

  // Coerce everything first: a call with one bad argument must not run at all.
  BoundCall bound;
  bound.member = member;
  for (std::size_t p = 0; p < formal.size(); ++p) {
    const auto index = static_cast<std::uint32_t>(source[p]);
    const HResult hr = coerce(params->args[index], formal[p].type.kind, bound.args[p]);
    if (status::failed(hr)) {
      setArgErr(argErr, index);
      return hr;
    }
  }
  call = std::move(bound);
  return status::kOk;
}

void labelResult(const MemberInfo& member, Variant& result) {
  if (member.result.kind == TypeKind::Date && result.type() == VarType::Double) {
    result = Variant::ofDate(result.doubleValue());
  }
}

HResult reportFailure(const MemberFailure& failure, ExcepInfo* excepInfo) {
  if (excepInfo) {
    try {
      excepInfo->source = failure.source;
      excepInfo->description = failure.description;
    } catch (...) {
      // Without memory for the texts the client still gets the code.
    }
    excepInfo->scode = failure.code;
    excepInfo->reason = failure.reason;
  }
  return status::kDispException;
}

}  // namespace tramox::server::binding
