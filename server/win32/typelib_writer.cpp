// Writes TRAMOX.tlb from the member tables through the platform's own type-library writer
// (ICreateTypeLib2), as MIDL does:
//   typelib_writer <output .tlb> win32|win64
// widl cannot write this library as published: it puts each type where it is first used and
// copies IEnumVARIANT in, where the fourteen descriptions must keep their order and name
// stdole2's IEnumVARIANT. Built for x86-64 and run under Wine at build time; the system kind
// chosen, not the writer's own, sets the vtable layout.
#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "server/member_table.h"

namespace {

using namespace tramox::server;

void require(HRESULT hr, const std::string& what) {
  if (FAILED(hr)) {
    std::fprintf(stderr, "typelib_writer: %s failed (0x%08lX)\n", what.c_str(),
                 static_cast<unsigned long>(hr));
    std::exit(1);
  }
}

// Every name in the tables is ASCII.
std::wstring wide(std::string_view text) {
  return std::wstring(text.begin(), text.end());
}

GUID toGuid(const Guid& g) {
  GUID out{g.data1, g.data2, g.data3, {}};
  for (int i = 0; i < 8; ++i) {
    out.Data4[i] = g.data4[i];
  }
  return out;
}

class Writer {
 public:
  Writer(const std::wstring& path, SYSKIND kind) {
    require(CreateTypeLib2(kind, path.c_str(), &library_), "CreateTypeLib2");
    require(LoadTypeLibEx(L"stdole2.tlb", REGKIND_NONE, &stdole_), "loading stdole2.tlb");
  }

  void write(const std::wstring& path) {
    const LibraryInfo& lib = library();
    std::wstring name = wide(lib.name), help = wide(lib.helpString);
    require(library_->SetName(name.data()), "SetName");
    require(library_->SetDocString(help.data()), "SetDocString");
    const GUID libid = toGuid(lib.libid);
    require(library_->SetGuid(libid), "SetGuid");
    require(library_->SetVersion(lib.majorVersion, lib.minorVersion), "SetVersion");
    require(library_->SetLcid(lib.lcid), "SetLcid");
    // Made first, in the published order, so that any of them can name any other.
    for (const TypeDescription& d : typeDescriptions()) {
      create(d);
    }
    for (const TypeDescription& d : typeDescriptions()) {
      fill(d);
    }
    for (const TypeDescription& d : typeDescriptions()) {
      require(created_.at(d.name)->LayOut(), "LayOut " + std::string(d.name));
    }
    require(library_->SaveAllChanges(), "SaveAllChanges " + std::string(path.begin(), path.end()));
  }

 private:
  void create(const TypeDescription& d) {
    static const std::map<TypeDescriptionKind, TYPEKIND> kinds = {
        {TypeDescriptionKind::Interface, TKIND_INTERFACE},
        {TypeDescriptionKind::Class, TKIND_COCLASS},
        {TypeDescriptionKind::Enum, TKIND_ENUM}};
    std::wstring name = wide(d.name);
    ICreateTypeInfo* info = nullptr;
    require(library_->CreateTypeInfo(name.data(), kinds.at(d.kind), &info),
            "CreateTypeInfo " + std::string(d.name));
    created_[d.name] = info;
  }

  ITypeInfo* typeInfoOf(std::string_view name) {
    ITypeInfo* info = nullptr;
    require(created_.at(name)->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&info)),
            "ITypeInfo of " + std::string(name));
    return info;
  }

  ITypeInfo* stdoleTypeInfo(REFIID iid) {
    ITypeInfo* info = nullptr;
    require(stdole_->GetTypeInfoOfGuid(iid, &info), "stdole2 type");
    return info;
  }

  HREFTYPE reference(ICreateTypeInfo* from, ITypeInfo* to) {
    HREFTYPE href = 0;
    require(from->AddRefTypeInfo(to, &href), "AddRefTypeInfo");
    to->Release();
    return href;
  }

  // The descriptions live in `types_` so that pointers into it stay valid until LayOut.
  TYPEDESC* typeDesc(ICreateTypeInfo* owner, const TypeRef& type) {
    static const std::map<TypeKind, VARTYPE> plain = {
        {TypeKind::Void, VT_VOID},       {TypeKind::Double, VT_R8},
        {TypeKind::Bool, VT_BOOL},       {TypeKind::Text, VT_BSTR},
        {TypeKind::Date, VT_DATE},       {TypeKind::Int32, VT_I4},
        {TypeKind::Variant, VT_VARIANT}, {TypeKind::Dispatch, VT_DISPATCH},
        {TypeKind::Unknown, VT_UNKNOWN}};
    types_.push_back(std::make_unique<TYPEDESC>());
    TYPEDESC* desc = types_.back().get();
    if (const auto found = plain.find(type.kind); found != plain.end()) {
      desc->vt = found->second;
      return desc;
    }
    desc->vt = VT_USERDEFINED;
    desc->hreftype = reference(owner, typeInfoOf(type.name));
    // An interface is passed by reference; an enumeration by value.
    return type.kind == TypeKind::Interface ? pointerTo(desc) : desc;
  }

  TYPEDESC* pointerTo(TYPEDESC* target) {
    types_.push_back(std::make_unique<TYPEDESC>());
    TYPEDESC* desc = types_.back().get();
    desc->vt = VT_PTR;
    desc->lptdesc = target;
    return desc;
  }

  // Identity, help string (when there is one) and version 1.0.
  void describe(ICreateTypeInfo* info, const Guid& id, std::string_view helpString) {
    const GUID guid = toGuid(id);
    require(info->SetGuid(guid), "SetGuid");
    std::wstring help = wide(helpString);
    if (!help.empty()) {
      require(info->SetDocString(help.data()), "SetDocString");
    }
    require(info->SetVersion(1, 0), "SetVersion");
  }

  void fillInterface(ICreateTypeInfo* info, const InterfaceInfo& iface) {
    describe(info, iface.iid, iface.helpString);
    require(info->AddImplType(0, reference(info, stdoleTypeInfo(IID_IDispatch))), "AddImplType");
    require(info->SetTypeFlags(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE),
            "SetTypeFlags");
    UINT index = 0;
    for (const MemberInfo& m : iface.members) {
      const auto parameters = m.parameters();
      const bool hasResult = m.result.kind != TypeKind::Void;
      std::vector<ELEMDESC> elements(parameters.size() + (hasResult ? 1 : 0));
      for (std::size_t p = 0; p < parameters.size(); ++p) {
        elements[p].tdesc = *typeDesc(info, parameters[p].type);
        elements[p].paramdesc.wParamFlags = PARAMFLAG_FIN;
      }
      if (hasResult) {
        elements.back().tdesc = *pointerTo(typeDesc(info, m.result));
        elements.back().paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
      }
      FUNCDESC function{};
      function.memid = m.dispid;
      function.funckind = FUNC_PUREVIRTUAL;
      function.invkind = m.kind == MemberKind::Method        ? INVOKE_FUNC
                         : m.kind == MemberKind::PropertyGet ? INVOKE_PROPERTYGET
                                                             : INVOKE_PROPERTYPUT;
      function.callconv = CC_STDCALL;
      function.cParams = static_cast<SHORT>(elements.size());
      function.lprgelemdescParam = elements.data();
      function.elemdescFunc.tdesc.vt = VT_HRESULT;
      if (m.hidden) {
        function.wFuncFlags |= FUNCFLAG_FHIDDEN | FUNCFLAG_FRESTRICTED;
      }
      if (m.defaultCollectionElement) {
        function.wFuncFlags |= FUNCFLAG_FDEFAULTCOLLELEM;
      }
      const std::string where = std::string(iface.name) + "." + std::string(m.name);
      require(info->AddFuncDesc(index, &function), "AddFuncDesc " + where);
      // A put accessor's value keeps no name; the out-value of a get is not named either.
      std::vector<std::wstring> names{wide(m.name)};
      for (const ParamInfo& p : parameters) {
        if (!p.name.empty()) {
          names.push_back(wide(p.name));
        }
      }
      std::vector<LPOLESTR> pointers;
      for (std::wstring& n : names) {
        pointers.push_back(n.data());
      }
      require(
          info->SetFuncAndParamNames(index, pointers.data(), static_cast<UINT>(pointers.size())),
          "SetFuncAndParamNames " + where);
      ++index;
    }
  }

  void fillClass(ICreateTypeInfo* info, const ClassInfo& cls) {
    describe(info, cls.clsid, cls.helpString);
    require(info->SetTypeFlags(TYPEFLAG_FCANCREATE), "SetTypeFlags");
    require(info->AddImplType(0, reference(info, typeInfoOf(cls.defaultInterface->name))),
            "AddImplType");
    require(info->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), "SetImplTypeFlags");
    if (cls.enumVariant) {
      require(info->AddImplType(1, reference(info, stdoleTypeInfo(IID_IEnumVARIANT))),
              "AddImplType IEnumVARIANT");
    }
  }

  void fillEnum(ICreateTypeInfo* info, const EnumInfo& e) {
    describe(info, e.id, {});
    UINT index = 0;
    for (const EnumMemberInfo& m : e.members) {
      VARIANT value;
      VariantInit(&value);
      V_VT(&value) = VT_I4;
      V_I4(&value) = m.value;
      VARDESC variable{};
      variable.memid = static_cast<MEMBERID>(0x40000000 + index);
      variable.lpvarValue = &value;
      variable.elemdescVar.tdesc.vt = VT_I4;
      variable.varkind = VAR_CONST;
      require(info->AddVarDesc(index, &variable), "AddVarDesc " + std::string(m.name));
      std::wstring name = wide(m.name);
      require(info->SetVarName(index, name.data()), "SetVarName");
      ++index;
    }
  }

  void fill(const TypeDescription& d) {
    ICreateTypeInfo* info = created_.at(d.name);
    switch (d.kind) {
      case TypeDescriptionKind::Interface:
        for (const InterfaceInfo* iface : {&telescopeInterface(), &rateInterface(),
                                           &ratesInterface(), &trackingRatesColInterface()}) {
          if (iface->name == d.name) {
            fillInterface(info, *iface);
          }
        }
        break;
      case TypeDescriptionKind::Class:
        fillClass(info,
                  *findClassByProgId(std::string(library().name) + "." + std::string(d.name)));
        break;
      case TypeDescriptionKind::Enum:
        fillEnum(info, *findEnum(d.name));
        break;
    }
  }

  ICreateTypeLib2* library_ = nullptr;
  ITypeLib* stdole_ = nullptr;
  std::map<std::string_view, ICreateTypeInfo*> created_;
  std::vector<std::unique_ptr<TYPEDESC>> types_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::string(argv[2]) != "win32" && std::string(argv[2]) != "win64")) {
    std::fprintf(stderr, "usage: typelib_writer <output .tlb> win32|win64\n");
    return 2;
  }
  CoInitialize(nullptr);
  const std::string path = argv[1];
  const std::wstring output(path.begin(), path.end());
  DeleteFileW(output.c_str());
  Writer(output, std::string(argv[2]) == "win64" ? SYS_WIN64 : SYS_WIN32).write(output);
  CoUninitialize();
  return 0;
}
