#pragma once
// The text of regedit exports ("Windows Registry Editor Version 5.00"), one file per hive:
//
//   [HKEY_CURRENT_USER\SOFTWARE\TRAMOX]
//   "Latitude"=hex:9a,99,99,99,99,99,e9,3f
//   "LogEnabled"=dword:00000001
//   "Name"="text with \\ and \" escaped"
//   @="the key's default value"
//
// Files are UTF-8. Strings holding control characters (which a quoted string cannot carry) are
// written as hex(1): UTF-16LE with its terminating zero, which regedit also reads.
#include <string>

#include "platform/registry.h"
#include "platform/registry_tree.h"

namespace tramox::platform {

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT".
const char* hiveRootName(Hive hive);

// Throws RegistryError "<fileName>:<line>: <reason>" for anything it cannot read exactly,
// including value types other than strings, dwords and binaries, so that rewriting the file
// can never drop what it held.
RegistryTree parseRegFile(const std::string& text, Hive hive, const std::string& fileName);

std::string formatRegFile(const RegistryTree& tree, Hive hive);

}  // namespace tramox::platform
