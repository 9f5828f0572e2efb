// A C++ client of TRAMOX.dll under Wine: early-bound through the vtables of the generated
// header, late-bound through IDispatch (by name, by dispatch identifier, with named
// arguments), error information, the collections' enumerators, the class factories and
// DllCanUnloadNow. Ends with "TRAMOX-CPP-RESULT failures=<n>" and exit code n.
#include <windows.h>

#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

// The interface identities are defined here, from the generated header.
#include <initguid.h>

#include "server/member_table.h"
#include "server/win32/com_guid.h"
#include "server/win32/tramox_typelib.h"
#include "tests/wine/clients/check_report.h"

namespace {

using tramox::wine_tests::check;

std::string narrow(const wchar_t* text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) {
    out += *text < 128 ? static_cast<char>(*text) : '?';
  }
  return out;
}

std::string hex(HRESULT hr) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08lX", static_cast<unsigned long>(hr));
  return buffer;
}

template <class T>
void release(T*& p) {
  if (p != nullptr) {
    p->Release();
  }
  p = nullptr;
}

using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

HRESULT canUnloadNow() {
  HMODULE module = GetModuleHandleW(L"TRAMOX.dll");
  if (module == nullptr) {
    return E_FAIL;
  }
  auto fn = reinterpret_cast<CanUnloadFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  return fn ? fn() : E_FAIL;
}

// Reads the thread's error information, as a client does after a failed vtable call.
void checkErrorInfo(IUnknown* object, REFIID iid, const char* description, const char* source,
                    const std::string& what) {
  ISupportErrorInfo* support = nullptr;
  const bool supported = SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo,
                                                          reinterpret_cast<void**>(&support))) &&
                         support->InterfaceSupportsErrorInfo(iid) == S_OK;
  release(support);
  check(supported, what + ": ISupportErrorInfo");
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || info == nullptr) {
    check(false, what + ": GetErrorInfo");
    return;
  }
  BSTR text = nullptr, from = nullptr;
  GUID guid{};
  info->GetDescription(&text);
  info->GetSource(&from);
  info->GetGUID(&guid);
  check(narrow(text) == description, what + ": description [" + narrow(text) + "]");
  check(narrow(from) == source, what + ": source [" + narrow(from) + "]");
  check(IsEqualGUID(guid, iid), what + ": interface identity");
  SysFreeString(text);
  SysFreeString(from);
  release(info);
}

DISPID dispidOf(IDispatch* object, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

void earlyBound(ITelescope* telescope) {
  check(SUCCEEDED(telescope->put_SiteLatitude(48.25)), "put_SiteLatitude");
  double latitude = 0;
  telescope->get_SiteLatitude(&latitude);
  check(latitude == 48.25, "get_SiteLatitude");

  HRESULT hr = telescope->put_SiteLatitude(-91);
  check(hr == static_cast<HRESULT>(0x80040405), "put_SiteLatitude(-91) -> " + hex(hr));
  checkErrorInfo(telescope, IID_ITelescope, "Latitude must be in the range [-90?,90?]",
                 "TRAMOX.Telescope", "put_SiteLatitude(-91)");

  VARIANT_BOOL connected = VARIANT_TRUE;
  telescope->get_Connected(&connected);
  check(connected == VARIANT_FALSE, "get_Connected is false");
  hr = telescope->SlewToAltAz(10, 10);
  check(hr == static_cast<HRESULT>(0x80040400), "SlewToAltAz -> " + hex(hr));

  IRates* rates = nullptr;
  hr = telescope->AxisRates(axisSecondary, &rates);
  check(SUCCEEDED(hr) && rates != nullptr, "AxisRates(axisSecondary)");
  if (rates == nullptr) {
    return;
  }
  LONG count = 0;
  rates->get_Count(&count);
  check(count == 3, "IRates::get_Count " + std::to_string(count));
  IDispatch* item = nullptr;
  rates->get_Item(2, &item);
  IRate* rate = nullptr;
  if (item != nullptr) {
    item->QueryInterface(IID_IRate, reinterpret_cast<void**>(&rate));
  }
  double maximum = 0;
  if (rate != nullptr) {
    rate->get_Maximum(&maximum);
  }
  check(maximum > 0, "IRates::get_Item(2) -> IRate::get_Maximum " + std::to_string(maximum));

  IUnknown* enumUnknown = nullptr;
  IEnumVARIANT* enumerator = nullptr;
  rates->get__NewEnum(&enumUnknown);
  if (enumUnknown != nullptr) {
    enumUnknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&enumerator));
  }
  check(enumerator != nullptr, "_NewEnum gives IEnumVARIANT");
  if (enumerator != nullptr) {
    VARIANT items[4];
    ULONG fetched = 0;
    hr = enumerator->Next(4, items, &fetched);
    check(hr == S_FALSE && fetched == 3, "Next(4) gives 3 and S_FALSE");
    for (ULONG i = 0; i < fetched; ++i) {
      check(V_VT(&items[i]) == VT_DISPATCH, "element " + std::to_string(i) + " is an object");
      VariantClear(&items[i]);
    }
    check(enumerator->Next(1, items, &fetched) == S_FALSE && fetched == 0,
          "the cursor is shared: nothing left");
    check(enumerator->Reset() == S_OK && enumerator->Skip(2) == S_OK &&
              enumerator->Skip(5) == S_FALSE,
          "Reset and Skip");
  }
  release(enumerator);
  release(enumUnknown);
  release(rate);
  release(item);

  // The tracking rates enumerate as integer variants: the one rate in use, then the end.
  ITrackingRatesCol* driveRates = nullptr;
  IUnknown* driveUnknown = nullptr;
  IEnumVARIANT* driveEnumerator = nullptr;
  telescope->get_TrackingRates(&driveRates);
  if (driveRates != nullptr) {
    driveRates->get__NewEnum(&driveUnknown);
  }
  if (driveUnknown != nullptr) {
    driveUnknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&driveEnumerator));
  }
  if (driveEnumerator != nullptr) {
    VARIANT items[5];
    ULONG fetched = 0;
    hr = driveEnumerator->Next(5, items, &fetched);
    const bool skipped = driveEnumerator->Skip(1) == S_FALSE;
    check(skipped && hr == S_FALSE && fetched == 1 && V_VT(&items[0]) == VT_I4 &&
              V_I4(&items[0]) == driveSidereal,
          "TrackingRates: Next(5) gives sidereal alone with S_FALSE, Skip(1) then S_FALSE");
  } else {
    check(false, "TrackingRates _NewEnum gives IEnumVARIANT");
  }
  release(driveEnumerator);
  release(driveUnknown);
  release(driveRates);

  // A collection alone keeps the module loaded.
  ITrackingRatesCol* tracking = nullptr;
  telescope->get_TrackingRates(&tracking);
  DriveRates first = driveLunar;
  if (tracking != nullptr) {
    tracking->get_Item(1, &first);
  }
  check(first == driveSidereal, "ITrackingRatesCol::get_Item(1)");
  DriveRates second = driveSidereal;
  hr = tracking != nullptr ? tracking->get_Item(0, &second) : E_FAIL;
  check(hr == static_cast<HRESULT>(0x80040405), "get_Item(0) -> " + hex(hr));
  if (tracking != nullptr) {
    checkErrorInfo(tracking, IID_ITrackingRatesCol, "Invalid tracking rate index",
                   "TRAMOX.TrackingRatesCol", "get_Item(0)");
  }
  release(tracking);
  release(rates);
}

void lateBound(ITelescope* telescope) {
  IDispatch* object = nullptr;
  telescope->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
  check(object != nullptr, "IDispatch");
  if (object == nullptr) {
    return;
  }

  // A property write by name.
  DISPID elevation = dispidOf(object, L"siteelevation");
  check(elevation != DISPID_UNKNOWN, "GetIDsOfNames is case-insensitive");
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_I4;
  V_I4(&value) = 321;  // coerced to double by the type library
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS putParams{&value, &put, 1, 1};
  HRESULT hr = object->Invoke(elevation, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                              &putParams, nullptr, nullptr, nullptr);
  double metres = 0;
  telescope->get_SiteElevation(&metres);
  check(SUCCEEDED(hr) && metres == 321, "SiteElevation put by name");

  // A failure arrives as an exception with the same code, source and description.
  V_I4(&value) = 20000;
  EXCEPINFO exception{};
  hr = object->Invoke(elevation, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &putParams,
                      nullptr, &exception, nullptr);
  check(hr == DISP_E_EXCEPTION, "failing put -> DISP_E_EXCEPTION");
  check(exception.scode == static_cast<HRESULT>(0x80040405),
        "EXCEPINFO scode " + hex(exception.scode));
  check(narrow(exception.bstrSource) == "TRAMOX.Telescope", "EXCEPINFO source");
  check(narrow(exception.bstrDescription) == "Elevation must be in the range [-300m,10000m]",
        "EXCEPINFO description");
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);

  // Named arguments: CanMoveAxis(Axe:=axisTertiary).
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"CanMoveAxis"), const_cast<LPOLESTR>(L"Axe")};
  DISPID ids[2] = {DISPID_UNKNOWN, DISPID_UNKNOWN};
  hr = object->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids);
  check(SUCCEEDED(hr) && ids[1] == 0, "GetIDsOfNames with the parameter name Axe");
  VARIANT axis;
  VariantInit(&axis);
  V_VT(&axis) = VT_I4;
  V_I4(&axis) = 2;
  DISPPARAMS named{&axis, &ids[1], 1, 1};
  VARIANT result;
  VariantInit(&result);
  hr = object->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &named, &result,
                      nullptr, nullptr);
  check(SUCCEEDED(hr) && V_VT(&result) == VT_BOOL && V_BOOL(&result) == VARIANT_FALSE,
        "CanMoveAxis(Axe:=axisTertiary) is false");
  VariantClear(&result);

  // Item by name and through dispatch identifier 0 agree.
  DISPID trackingRates = dispidOf(object, L"TrackingRates");
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  hr = object->Invoke(trackingRates, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                      &result, nullptr, nullptr);
  IDispatch* collection =
      SUCCEEDED(hr) && V_VT(&result) == VT_DISPATCH ? V_DISPATCH(&result) : nullptr;
  check(collection != nullptr, "TrackingRates by name");
  if (collection != nullptr) {
    VARIANT index;
    VariantInit(&index);
    V_VT(&index) = VT_I4;
    V_I4(&index) = 1;
    DISPPARAMS one{&index, nullptr, 1, 0};
    VARIANT byName, byDefault;
    VariantInit(&byName);
    VariantInit(&byDefault);
    collection->Invoke(dispidOf(collection, L"Item"), IID_NULL, LOCALE_USER_DEFAULT,
                       DISPATCH_PROPERTYGET, &one, &byName, nullptr, nullptr);
    collection->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT,
                       DISPATCH_METHOD | DISPATCH_PROPERTYGET, &one, &byDefault, nullptr, nullptr);
    check(V_VT(&byName) == VT_I4 && V_I4(&byName) == driveSidereal && V_VT(&byDefault) == VT_I4 &&
              V_I4(&byDefault) == driveSidereal,
          "Item(1) by name and by dispatch identifier 0");
    // _NewEnum asked for as a method only, as JScript does.
    VARIANT enumerator;
    VariantInit(&enumerator);
    hr = collection->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                            &enumerator, nullptr, nullptr);
    check(SUCCEEDED(hr) && (V_VT(&enumerator) == VT_UNKNOWN || V_VT(&enumerator) == VT_DISPATCH),
          "_NewEnum through dispatch identifier -4 as a method");
    VariantClear(&enumerator);
  }
  VariantClear(&result);
  release(object);
}

void factories() {
  CLSID clsid{};
  CLSIDFromProgID(L"TRAMOX.Telescope", &clsid);
  HMODULE module = GetModuleHandleW(L"TRAMOX.dll");
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  if (getClassObject == nullptr) {
    check(false, "DllGetClassObject export");
    return;
  }
  void* object = reinterpret_cast<void*>(1);
  HRESULT hr = getClassObject(IID_IDispatch, IID_IClassFactory, &object);
  check(hr == CLASS_E_CLASSNOTAVAILABLE && object == nullptr,
        "unknown class -> CLASS_E_CLASSNOTAVAILABLE and null");
  hr = getClassObject(clsid, IID_IDispatch, &object);
  check(hr == E_NOINTERFACE, "factory without the interface -> E_NOINTERFACE");
  IClassFactory* factory = nullptr;
  getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  check(factory != nullptr, "the Telescope factory");
  if (factory == nullptr) {
    return;
  }
  // Multiple instances: every creation request makes a new object.
  IUnknown* first = nullptr;
  IUnknown* second = nullptr;
  factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&first));
  factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&second));
  check(first != nullptr && second != nullptr && first != second,
        "two creation requests give two objects");
  release(first);
  release(second);
  factory->LockServer(TRUE);
  check(canUnloadNow() == S_FALSE, "DllCanUnloadNow with a factory lock -> S_FALSE");
  factory->LockServer(FALSE);
  check(canUnloadNow() == S_OK, "DllCanUnloadNow after unlocking -> S_OK");
  release(factory);

  for (const wchar_t* progId : {L"TRAMOX.Rate", L"TRAMOX.Rates", L"TRAMOX.TrackingRatesCol"}) {
    CLSID other{};
    IDispatch* instance = nullptr;
    CLSIDFromProgID(progId, &other);
    CoCreateInstance(other, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&instance));
    check(instance != nullptr, "CoCreateInstance " + narrow(progId));
    release(instance);
  }
}

using tramox::server::win32::toGuid;

void memberSignaturesMatchTables(ITypeLib* typeLibrary);
void typeLibraryDescriptions(ITypeLib* typeLibrary);

// The type library embedded in the module, against the member tables it was generated from.
void typeLibraryMatchesTables() {
  using namespace tramox::server;
  HMODULE module = GetModuleHandleW(L"TRAMOX.dll");
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  ITypeLib* typeLibrary = nullptr;
  check(SUCCEEDED(LoadTypeLibEx(path, REGKIND_NONE, &typeLibrary)), "TYPELIB resource loads");
  if (typeLibrary == nullptr) {
    return;
  }
  TLIBATTR* libraryAttributes = nullptr;
  typeLibrary->GetLibAttr(&libraryAttributes);
  check(IsEqualGUID(libraryAttributes->guid, toGuid(library().libid)) &&
            libraryAttributes->wMajorVerNum == 1 && libraryAttributes->wMinorVerNum == 0 &&
            libraryAttributes->lcid == 0x0409,
        "library identity, version 1.0, locale 0x0409");
  typeLibrary->ReleaseTLibAttr(libraryAttributes);
  check(typeLibrary->GetTypeInfoCount() >= 14, "fourteen type descriptions");
  int mismatches = 0;
  for (const InterfaceInfo* iface :
       {&telescopeInterface(), &rateInterface(), &ratesInterface(), &trackingRatesColInterface()}) {
    ITypeInfo* info = nullptr;
    typeLibrary->GetTypeInfoOfGuid(toGuid(iface->iid), &info);
    if (info == nullptr) {
      check(false, "type description of " + std::string(iface->name));
      continue;
    }
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    const bool dual = (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
    const UINT functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    check(dual, std::string(iface->name) + " is dual");
    for (const MemberInfo& member : iface->members) {
      const INVOKEKIND kind = member.kind == MemberKind::Method        ? INVOKE_FUNC
                              : member.kind == MemberKind::PropertyGet ? INVOKE_PROPERTYGET
                                                                       : INVOKE_PROPERTYPUT;
      bool found = false;
      for (UINT i = 0; i < functions && !found; ++i) {
        FUNCDESC* function = nullptr;
        info->GetFuncDesc(i, &function);
        if (function->memid == member.dispid && function->invkind == kind) {
          found = true;
          BSTR names[4] = {};
          UINT named = 0;
          info->GetNames(function->memid, names, 4, &named);
          bool same = narrow(names[0]) == member.name;
          const auto parameters = member.parameters();
          for (std::size_t p = 0; p < parameters.size(); ++p) {
            if (!parameters[p].name.empty()) {
              same = same && named > p + 1 && narrow(names[p + 1]) == parameters[p].name;
            }
          }
          same = same && ((function->wFuncFlags & FUNCFLAG_FHIDDEN) != 0) == member.hidden;
          same = same && ((function->wFuncFlags & FUNCFLAG_FDEFAULTCOLLELEM) != 0) ==
                             member.defaultCollectionElement;
          for (BSTR& name : names) {
            SysFreeString(name);
          }
          if (!same) {
            ++mismatches;
            check(false, std::string(iface->name) + "." + std::string(member.name) + " differs");
          }
        }
        info->ReleaseFuncDesc(function);
      }
      if (!found) {
        ++mismatches;
        check(false, std::string(iface->name) + "." + std::string(member.name) + " missing");
      }
    }
    info->Release();
  }
  check(mismatches == 0, "every member: name, dispatch identifier, kind, parameter names, flags");
  memberSignaturesMatchTables(typeLibrary);
  typeLibraryDescriptions(typeLibrary);
  typeLibrary->Release();
}

// The automation type of a parameter or result as the member tables name it.
std::string typeText(ITypeInfo* owner, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_R8:
      return "double";
    case VT_BOOL:
      return "boolean";
    case VT_BSTR:
      return "text";
    case VT_DATE:
      return "date";
    case VT_I4:
      return "int32";
    case VT_VARIANT:
      return "variant";
    case VT_DISPATCH:
      return "dispatch";
    case VT_UNKNOWN:
      return "unknown";
    case VT_PTR:
      return "*" + typeText(owner, *type.lptdesc);
    case VT_USERDEFINED: {
      ITypeInfo* referenced = nullptr;
      BSTR name = nullptr;
      if (SUCCEEDED(owner->GetRefTypeInfo(type.hreftype, &referenced))) {
        referenced->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
      }
      std::string text = narrow(name);
      SysFreeString(name);
      release(referenced);
      return text;
    }
    default:
      return "vt" + std::to_string(type.vt);
  }
}

std::string expectedType(const tramox::server::TypeRef& type) {
  using tramox::server::TypeKind;
  switch (type.kind) {
    case TypeKind::Double:
      return "double";
    case TypeKind::Bool:
      return "boolean";
    case TypeKind::Text:
      return "text";
    case TypeKind::Date:
      return "date";
    case TypeKind::Int32:
      return "int32";
    case TypeKind::Variant:
      return "variant";
    case TypeKind::Enum:
      return std::string(type.name);
    case TypeKind::Interface:
      return "*" + std::string(type.name);
    case TypeKind::Dispatch:
      return "dispatch";
    case TypeKind::Unknown:
      return "unknown";
    case TypeKind::Void:
      break;
  }
  return "void";
}

std::string documentation(ITypeLib* library, int index) {
  BSTR name = nullptr, help = nullptr;
  library->GetDocumentation(index, &name, &help, nullptr, nullptr);
  std::string text = narrow(name) + "|" + narrow(help);
  SysFreeString(name);
  SysFreeString(help);
  return text;
}

std::string documentation(ITypeInfo* info) {
  BSTR name = nullptr, help = nullptr;
  info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr);
  std::string text = narrow(name) + "|" + narrow(help);
  SysFreeString(name);
  SysFreeString(help);
  return text;
}

// Each member's parameter and result types, its restricted flag and the parameter count, in
// the order of the interface, against the tables.
void memberSignaturesMatchTables(ITypeLib* typeLibrary) {
  using namespace tramox::server;
  int mismatches = 0;
  for (const InterfaceInfo* iface :
       {&telescopeInterface(), &rateInterface(), &ratesInterface(), &trackingRatesColInterface()}) {
    // The vtable half of the dual interface, whose functions carry the status and out-values.
    ITypeInfo* dispatchInfo = nullptr;
    ITypeInfo* info = nullptr;
    HREFTYPE vtableHalf = 0;
    typeLibrary->GetTypeInfoOfGuid(toGuid(iface->iid), &dispatchInfo);
    if (dispatchInfo != nullptr && SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(-1, &vtableHalf))) {
      dispatchInfo->GetRefTypeInfo(vtableHalf, &info);
    }
    release(dispatchInfo);
    if (info == nullptr) {
      check(false, std::string(iface->name) + ": vtable description");
      continue;
    }
    check(documentation(info) == std::string(iface->name) + "|" + std::string(iface->helpString),
          std::string(iface->name) + " help string [" + documentation(info) + "]");
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    const UINT functions = attributes->cFuncs;
    const bool automation = (attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) != 0;
    info->ReleaseTypeAttr(attributes);
    check(automation, std::string(iface->name) + " is automation-compatible");
    check(functions == iface->members.size(),
          std::string(iface->name) + " has " + std::to_string(functions) + " members");
    for (UINT i = 0; i < functions && i < iface->members.size(); ++i) {
      const MemberInfo& member = iface->members[i];
      FUNCDESC* function = nullptr;
      info->GetFuncDesc(i, &function);
      const auto parameters = member.parameters();
      const bool hasResult = member.result.kind != TypeKind::Void;
      std::string seen = function->memid == member.dispid ? "" : "dispid ";
      if (function->cParams != static_cast<SHORT>(parameters.size() + (hasResult ? 1 : 0))) {
        seen += "count ";
      }
      for (SHORT p = 0; p < function->cParams; ++p) {
        const ELEMDESC& element = function->lprgelemdescParam[p];
        const bool retval = (element.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) != 0;
        const std::string type = typeText(info, element.tdesc);
        if (static_cast<std::size_t>(p) < parameters.size()) {
          if (retval || type != expectedType(parameters[p].type)) {
            seen += "param" + std::to_string(p) + "=" + type + " ";
          }
        } else if (!retval || type != "*" + expectedType(member.result)) {
          seen += "result=" + type + " ";
        }
      }
      if (function->elemdescFunc.tdesc.vt != VT_HRESULT) {
        seen += "not HRESULT ";
      }
      if (((function->wFuncFlags & FUNCFLAG_FRESTRICTED) != 0) != member.hidden) {
        seen += "restricted ";
      }
      info->ReleaseFuncDesc(function);
      if (!seen.empty()) {
        ++mismatches;
        check(false, std::string(iface->name) + "." + std::string(member.name) + ": " + seen);
      }
    }
    info->Release();
  }
  check(mismatches == 0, "every member: position, parameter and result types, restricted flag");
}

// The library's own documentation, the four classes and the six enumerations.
void typeLibraryDescriptions(ITypeLib* typeLibrary) {
  using namespace tramox::server;
  check(documentation(typeLibrary, -1) == "TRAMOX|TRAMOX Library",
        "library TRAMOX, help string [" + documentation(typeLibrary, -1) + "]");
  // Exactly the fourteen descriptions, in their published order; IEnumVARIANT is stdole2's.
  std::string described, expected;
  for (UINT i = 0; i < typeLibrary->GetTypeInfoCount(); ++i) {
    const std::string text = documentation(typeLibrary, static_cast<int>(i));
    described += " " + text.substr(0, text.find('|'));
  }
  for (const TypeDescription& d : typeDescriptions()) {
    expected += " " + std::string(d.name);
  }
  check(typeLibrary->GetTypeInfoCount() == 14 && described == expected,
        "the fourteen type descriptions in order:" + described);
  for (const ClassInfo& cls : classes()) {
    ITypeInfo* info = nullptr;
    typeLibrary->GetTypeInfoOfGuid(toGuid(cls.clsid), &info);
    if (info == nullptr) {
      check(false, "coclass " + std::string(cls.name));
      continue;
    }
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    const bool creatable = attributes->typekind == TKIND_COCLASS &&
                           (attributes->wTypeFlags & TYPEFLAG_FCANCREATE) != 0;
    const UINT implemented = attributes->cImplTypes;
    info->ReleaseTypeAttr(attributes);
    std::string interfaces;
    for (UINT i = 0; i < implemented; ++i) {
      HREFTYPE reference = 0;
      INT flags = 0;
      ITypeInfo* other = nullptr;
      info->GetRefTypeOfImplType(i, &reference);
      info->GetImplTypeFlags(i, &flags);
      BSTR name = nullptr;
      ITypeLib* container = nullptr;
      UINT ignored = 0;
      if (SUCCEEDED(info->GetRefTypeInfo(reference, &other))) {
        other->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        other->GetContainingTypeLib(&container, &ignored);
      }
      interfaces += (i ? "," : "") + narrow(name) + ((flags & IMPLTYPEFLAG_FDEFAULT) ? "*" : "");
      // Where each interface is described: this library, or (IEnumVARIANT) stdole2.
      if (container != nullptr) {
        const std::string library = documentation(container, -1);
        interfaces += "@" + library.substr(0, library.find('|'));
      }
      SysFreeString(name);
      release(container);
      release(other);
    }
    const std::string expected = std::string(cls.defaultInterface->name) + "*@TRAMOX" +
                                 (cls.enumVariant ? ",IEnumVARIANT@stdole" : "");
    check(creatable &&
              documentation(info) == std::string(cls.name) + "|" + std::string(cls.helpString) &&
              interfaces == expected,
          "coclass " + documentation(info) + " creatable, interfaces " + interfaces);
    info->Release();
  }
  for (const EnumInfo& e : enumerations()) {
    ITypeInfo* info = nullptr;
    typeLibrary->GetTypeInfoOfGuid(toGuid(e.id), &info);
    if (info == nullptr) {
      check(false, "enumeration " + std::string(e.name));
      continue;
    }
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    const bool isEnum = attributes->typekind == TKIND_ENUM;
    const UINT count = attributes->cVars;
    info->ReleaseTypeAttr(attributes);
    bool same =
        isEnum && count == e.members.size() && documentation(info) == std::string(e.name) + "|";
    for (UINT i = 0; same && i < count; ++i) {
      VARDESC* variable = nullptr;
      info->GetVarDesc(i, &variable);
      BSTR name = nullptr;
      UINT named = 0;
      info->GetNames(variable->memid, &name, 1, &named);
      same = narrow(name) == e.members[i].name && variable->varkind == VAR_CONST &&
             V_VT(variable->lpvarValue) == VT_I4 &&
             V_I4(variable->lpvarValue) == e.members[i].value;
      SysFreeString(name);
      info->ReleaseVarDesc(variable);
    }
    check(same, "enumeration " + std::string(e.name) + ": members and values in order");
    info->Release();
  }
}

// The version record: 2.1.0.2, 32-bit Windows, an application, French strings.
void versionRecord() {
  HMODULE module = GetModuleHandleW(L"TRAMOX.dll");
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  std::string data(size, '\0');
  if (size == 0 || !GetFileVersionInfoW(path, 0, size, data.data())) {
    check(false, "version record present");
    return;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length);
  check(fixed != nullptr && fixed->dwFileVersionMS == 0x00020001 &&
            fixed->dwFileVersionLS == 0x00000002 && fixed->dwProductVersionMS == 0x00020001 &&
            fixed->dwProductVersionLS == 0x00000002,
        "file and product version 2.1.0.2");
  check(
      fixed != nullptr && fixed->dwFileOS == 4 && fixed->dwFileType == 1 && fixed->dwFileFlags == 0,
      "declared as a 32-bit Windows application without flags");
  wchar_t* text = nullptr;
  VerQueryValueW(data.data(), L"\\StringFileInfo\\040C04E4\\FileDescription",
                 reinterpret_cast<void**>(&text), &length);
  check(text != nullptr && narrow(text) == "Ascom driver for TRAMOX",
        "FileDescription (French, 1252)");
  text = nullptr;
  VerQueryValueW(data.data(), L"\\StringFileInfo\\040C04E4\\ProductVersion",
                 reinterpret_cast<void**>(&text), &length);
  check(text != nullptr && narrow(text) == "1.0.0.0", "ProductVersion 1.0.0.0");
  for (const wchar_t* entry : {L"FileVersion", L"CompanyName", L"InternalName", L"LegalTrademarks",
                               L"OriginalFilename", L"ProductName", L"Comments"}) {
    text = nullptr;
    length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040C04E4\\") + entry;
    const bool present = VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text),
                                        &length) != FALSE;
    const std::string expected = std::wstring(entry) == L"FileVersion" ? "2.1.0.2" : "";
    check(present && text != nullptr && narrow(text) == expected,
          narrow(entry) + " [" + (text != nullptr ? narrow(text) : "absent") + "]");
  }
  // One translation, French with the Western code page, matching the one string table.
  WORD* translations = nullptr;
  length = 0;
  VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                 reinterpret_cast<void**>(&translations), &length);
  check(translations != nullptr && length == 2 * sizeof(WORD) && translations[0] == 0x040C &&
            translations[1] == 1252,
        "Translation 040C, 1252");
}

// A driver object released while connected leaves its paddle window on screen, and the
// window's procedure is in the module: CoFreeUnusedLibraries must not unload the module then,
// and may once a disconnect has closed the paddle.
void paddleKeepsTheModuleLoaded(REFCLSID clsid) {
  auto connectedDriver = [&clsid] {
    ITelescope* telescope = nullptr;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ITelescope,
                     reinterpret_cast<void**>(&telescope));
    check(telescope != nullptr && SUCCEEDED(telescope->put_Connected(VARIANT_TRUE)),
          "a driver object connects");
    return telescope;
  };
  ITelescope* first = connectedDriver();
  release(first);
  CoFreeUnusedLibraries();
  check(GetModuleHandleW(L"TRAMOX.dll") != nullptr,
        "CoFreeUnusedLibraries keeps TRAMOX.dll while its paddle window exists");
  // The 32-bit run under Wine does not always find the window by its caption here; where it
  // is found, its procedure runs: the module must still be loaded.
  if (HWND paddle = FindWindowW(nullptr, L"Raquette ASCOM"); paddle != nullptr) {
    SendMessageW(paddle, WM_NULL, 0, 0);
  }
  ITelescope* second = connectedDriver();
  if (second != nullptr) {
    check(SUCCEEDED(second->put_Connected(VARIANT_FALSE)), "the next driver disconnects");
  }
  release(second);
  CoFreeUnusedLibraries();
  check(GetModuleHandleW(L"TRAMOX.dll") == nullptr,
        "CoFreeUnusedLibraries unloads TRAMOX.dll once the paddle is closed");
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"TRAMOX.Telescope", &clsid);
  check(SUCCEEDED(hr), "CLSIDFromProgID(\"TRAMOX.Telescope\")");
  ITelescope* telescope = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ITelescope,
                        reinterpret_cast<void**>(&telescope));
  check(SUCCEEDED(hr) && telescope != nullptr, "CoCreateInstance for ITelescope");
  if (telescope != nullptr) {
    check(canUnloadNow() == S_FALSE, "DllCanUnloadNow with a driver object alive -> S_FALSE");
    typeLibraryMatchesTables();
    versionRecord();
    earlyBound(telescope);
    lateBound(telescope);
    ITrackingRatesCol* kept = nullptr;
    telescope->get_TrackingRates(&kept);
    release(telescope);
    check(canUnloadNow() == S_FALSE, "DllCanUnloadNow with only a collection alive -> S_FALSE");
    release(kept);
    check(canUnloadNow() == S_OK, "DllCanUnloadNow after every release -> S_OK");
  }
  factories();
  paddleKeepsTheModuleLoaded(clsid);  // last: it ends with the module unloaded
  CoUninitialize();
  return tramox::wine_tests::report("TRAMOX-CPP-RESULT");
}
