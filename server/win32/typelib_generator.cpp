// Writes, from the member tables, the two things the Windows server is built from:
//   typelib_generator idl <file>      the IDL from which widl makes the interfaces' C++ header
//                                     (typelib_writer writes the type library itself)
//   typelib_generator members <interface> <file>
//                                     one X-macro row per member of the interface, from which
//                                     its COM class gets its vtable methods
// Built and run on the build machine, so the type library can never drift from the tables.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "server/member_table.h"

namespace {

using namespace tramox::server;

std::string guidText(const Guid& g) {
  // The registry form without braces, as IDL's uuid() wants it.
  const std::string braced = toRegistryString(g);
  return braced.substr(1, braced.size() - 2);
}

// The C spelling of a parameter or result type, as the MIDL-style header names it.
std::string typeName(const TypeRef& type) {
  switch (type.kind) {
    case TypeKind::Void:
      return "void";
    case TypeKind::Double:
      return "double";
    case TypeKind::Bool:
      return "VARIANT_BOOL";
    case TypeKind::Text:
      return "BSTR";
    case TypeKind::Date:
      return "DATE";
    case TypeKind::Int32:
      return "LONG";
    case TypeKind::Variant:
      return "VARIANT";
    case TypeKind::Enum:
      return std::string(type.name);
    case TypeKind::Interface:
      return std::string(type.name) + "*";
    case TypeKind::Dispatch:
      return "IDispatch*";
    case TypeKind::Unknown:
      return "IUnknown*";
  }
  return "void";
}

std::string memberAttributes(const MemberInfo& m) {
  std::string attributes = "id(" + std::to_string(m.dispid) + ")";
  if (m.kind == MemberKind::PropertyGet) {
    attributes += ", propget";
  }
  if (m.kind == MemberKind::PropertyPut) {
    attributes += ", propput";
  }
  if (m.hidden) {
    attributes += ", hidden, restricted";
  }
  if (m.defaultCollectionElement) {
    attributes += ", defaultcollelem";
  }
  return attributes;
}

void writeInterfaceIdl(std::ostream& out, const InterfaceInfo& iface) {
  out << "  [uuid(" << guidText(iface.iid) << "), version(1.0), helpstring(\"" << iface.helpString
      << "\"), dual, oleautomation]\n"
      << "  interface " << iface.name << " : IDispatch {\n";
  for (const MemberInfo& m : iface.members) {
    out << "    [" << memberAttributes(m) << "] HRESULT " << m.name << "(";
    bool first = true;
    int unnamed = 0;
    for (const ParamInfo& p : m.parameters()) {
      out << (first ? "" : ", ") << "[in] " << typeName(p.type) << " "
          << (p.name.empty() ? "Value" + std::to_string(++unnamed) : std::string(p.name));
      first = false;
    }
    if (m.result.kind != TypeKind::Void) {
      out << (first ? "" : ", ") << "[out, retval] " << typeName(m.result) << "* Value";
    }
    out << ");\n";
  }
  out << "  };\n\n";
}

const ClassInfo* classOf(std::string_view name) {
  for (const ClassInfo& c : classes()) {
    if (c.name == name) {
      return &c;
    }
  }
  return nullptr;
}

const InterfaceInfo* interfaceOf(std::string_view name) {
  for (const InterfaceInfo* i :
       {&telescopeInterface(), &rateInterface(), &ratesInterface(), &trackingRatesColInterface()}) {
    if (i->name == name) {
      return i;
    }
  }
  return nullptr;
}

void writeIdl(std::ostream& out) {
  const LibraryInfo& lib = library();
  out << "// Generated from the member tables by typelib_generator: do not edit.\n"
      << "import \"oaidl.idl\";\nimport \"ocidl.idl\";\n\n";
  out << "[uuid(" << guidText(lib.libid) << "), version(" << lib.majorVersion << "."
      << lib.minorVersion << "), lcid(0x" << std::hex << lib.lcid << std::dec << "), helpstring(\""
      << lib.helpString << "\")]\n"
      << "library " << lib.name << " {\n  importlib(\"stdole2.tlb\");\n\n";
  // Every enumeration ahead of the interfaces that take it; the interfaces and classes then
  // follow in table order.
  for (const EnumInfo& e : enumerations()) {
    out << "  [uuid(" << guidText(e.id) << "), version(1.0)]\n  typedef enum " << e.name << " {\n";
    bool first = true;
    for (const EnumMemberInfo& m : e.members) {
      out << (first ? "" : ",\n") << "    " << m.name << " = " << m.value;
      first = false;
    }
    out << "\n  } " << e.name << ";\n\n";
  }
  // Forward declarations, so that an interface may name one defined further down.
  for (const TypeDescription& d : typeDescriptions()) {
    if (d.kind == TypeDescriptionKind::Interface) {
      out << "  interface " << d.name << ";\n";
    }
  }
  out << "\n";
  for (const TypeDescription& d : typeDescriptions()) {
    switch (d.kind) {
      case TypeDescriptionKind::Interface:
        writeInterfaceIdl(out, *interfaceOf(d.name));
        break;
      case TypeDescriptionKind::Class: {
        const ClassInfo& c = *classOf(d.name);
        out << "  [uuid(" << guidText(c.clsid) << "), version(1.0), helpstring(\"" << c.helpString
            << "\")]\n  coclass " << c.name << " {\n    [default] interface "
            << c.defaultInterface->name << ";\n";
        if (c.enumVariant) {
          out << "    interface IEnumVARIANT;\n";
        }
        out << "  };\n\n";
        break;
      }
      case TypeDescriptionKind::Enum:
        break;  // written above
    }
  }
  out << "};\n";
}

// TRAMOX_GET(Interface, Name, ResultType)
// TRAMOX_PUT(Interface, Name, ValueType)
// TRAMOX_CALL0/1/2(Interface, Name[, Type, Param]...) and TRAMOX_CALL0R/1R/2R(..., ResultType)
// TRAMOX_GET_INDEXED(Interface, Name, IndexType, Index, ResultType)
// TRAMOX_NEWENUM(Interface)
void writeMembers(std::ostream& out, const InterfaceInfo* iface) {
  out << "// Generated from the member tables by typelib_generator: do not edit.\n";
  {
    for (const MemberInfo& m : iface->members) {
      const std::string owner = std::string(iface->name);
      const std::string name = std::string(m.name);
      if (m.dispid == kDispIdNewEnum) {
        out << "TRAMOX_NEWENUM(" << owner << ")\n";
        continue;
      }
      if (m.kind == MemberKind::PropertyPut) {
        out << "TRAMOX_PUT(" << owner << ", " << name << ", " << typeName(m.parameters()[0].type)
            << ")\n";
        continue;
      }
      if (m.kind == MemberKind::PropertyGet && m.paramCount == 0) {
        out << "TRAMOX_GET(" << owner << ", " << name << ", " << typeName(m.result) << ")\n";
        continue;
      }
      if (m.kind == MemberKind::PropertyGet) {
        const ParamInfo& p = m.parameters()[0];
        out << "TRAMOX_GET_INDEXED(" << owner << ", " << name << ", " << typeName(p.type) << ", "
            << p.name << ", " << typeName(m.result) << ")\n";
        continue;
      }
      out << "TRAMOX_CALL" << m.paramCount << (m.result.kind == TypeKind::Void ? "" : "R") << "("
          << owner << ", " << name;
      for (const ParamInfo& p : m.parameters()) {
        out << ", " << typeName(p.type) << ", " << p.name;
      }
      if (m.result.kind != TypeKind::Void) {
        out << ", " << typeName(m.result);
      }
      out << ")\n";
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: typelib_generator idl <output> | members <interface> <output>\n";
    return 2;
  }
  std::ostringstream text;
  const std::string what = argv[1];
  if (what == "idl") {
    writeIdl(text);
  } else if (what == "members" && argc == 4) {
    const InterfaceInfo* iface = interfaceOf(argv[2]);
    if (iface == nullptr) {
      std::cerr << "unknown interface " << argv[2] << "\n";
      return 2;
    }
    writeMembers(text, iface);
  } else {
    std::cerr << "unknown output " << what << "\n";
    return 2;
  }
  // Rewritten only when it changes, so an unchanged table does not rebuild the server.
  const char* output = argv[argc - 1];
  std::ifstream previous(output, std::ios::binary);
  std::stringstream old;
  old << previous.rdbuf();
  if (previous && old.str() == text.str()) {
    return 0;
  }
  previous.close();
  std::ofstream out(output, std::ios::binary);
  out << text.str();
  return out ? 0 : 1;
}
