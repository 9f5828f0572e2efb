#include "platform/win32/win_registry.h"

#include <windows.h>

#include "platform/settings_key.h"
#include "platform/win32/wide_text.h"

namespace tramox::platform::win32 {
namespace {

HKEY rootOf(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return HKEY_CURRENT_USER;
    case Hive::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case Hive::ClassesRoot:
      return HKEY_CLASSES_ROOT;
  }
  return HKEY_CURRENT_USER;
}

REGSAM viewOf(Hive hive) {
  return hive == Hive::LocalMachine ? KEY_WOW64_32KEY : 0;
}

[[noreturn]] void fail(const std::string& what, const std::string& path, LSTATUS status) {
  throw RegistryError(what + " '" + path + "': " + systemMessage(static_cast<DWORD>(status)));
}

// Closes the key on every path out.
class KeyHandle {
 public:
  KeyHandle() = default;
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

LSTATUS openKey(Hive hive, const std::string& path, REGSAM access, KeyHandle& key) {
  return RegOpenKeyExW(rootOf(hive), toWide(path).c_str(), 0, access | viewOf(hive), key.out());
}

void createKeyHandle(Hive hive, const std::string& path, KeyHandle& key) {
  const LSTATUS status =
      RegCreateKeyExW(rootOf(hive), toWide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE | viewOf(hive), nullptr, key.out(), nullptr);
  if (status != ERROR_SUCCESS) {
    fail("Cannot create the registry key", path, status);
  }
}

std::string stringFromData(const std::vector<BYTE>& data) {
  std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
  // Stored strings usually carry their terminator; some writers leave extra ones.
  while (!text.empty() && text.back() == L'\0') {
    text.pop_back();
  }
  return fromWide(text);
}

// Holds the hive's named mutex for the object's lifetime. A mutex abandoned by a killed holder
// is taken over: its transaction is lost, not resumed.
class HiveMutex {
 public:
  explicit HiveMutex(Hive hive) {
    const wchar_t* name = hive == Hive::CurrentUser    ? L"TRAMOX.Registry.HKCU"
                          : hive == Hive::LocalMachine ? L"TRAMOX.Registry.HKLM"
                                                       : L"TRAMOX.Registry.HKCR";
    mutex_ = CreateMutexW(nullptr, FALSE, name);
    if (mutex_ == nullptr) {
      throw RegistryError("Cannot create the registry mutex: " + systemMessage(GetLastError()));
    }
    const DWORD waited = WaitForSingleObject(mutex_, 10000);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      CloseHandle(mutex_);
      throw RegistryError(
          "Gave up after 10000 ms waiting for the registry mutex, which another process holds");
    }
  }
  HiveMutex(const HiveMutex&) = delete;
  HiveMutex& operator=(const HiveMutex&) = delete;
  ~HiveMutex() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }

 private:
  HANDLE mutex_ = nullptr;
};

}  // namespace

void WinRegistry::transact(Hive hive, const std::function<void(IRegistry& view)>& body) {
  HiveMutex held(hive);
  body(*this);
}

void WinRegistry::snapshot(Hive hive, const std::function<void(IRegistry& view)>& body) {
  HiveMutex held(hive);
  body(*this);
}

bool WinRegistry::keyExists(Hive hive, const std::string& path) {
  KeyHandle key;
  return openKey(hive, path, KEY_READ, key) == ERROR_SUCCESS;
}

void WinRegistry::createKey(Hive hive, const std::string& path) {
  KeyHandle key;
  createKeyHandle(hive, path, key);
}

bool WinRegistry::deleteKey(Hive hive, const std::string& path) {
  {
    KeyHandle key;
    const LSTATUS status = openKey(hive, path, KEY_READ, key);
    if (status == ERROR_FILE_NOT_FOUND) {
      return false;
    }
    if (status != ERROR_SUCCESS) {
      fail("Cannot open the registry key", path, status);
    }
    DWORD subkeys = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        subkeys > 0) {
      throw RegistryError("Cannot delete the registry key '" + path + "': it has subkeys");
    }
  }
  const LSTATUS status = RegDeleteKeyExW(rootOf(hive), toWide(path).c_str(), viewOf(hive), 0);
  if (status == ERROR_FILE_NOT_FOUND) {
    return false;
  }
  if (status != ERROR_SUCCESS) {
    fail("Cannot delete the registry key", path, status);
  }
  return true;
}

std::optional<RegistryValue> WinRegistry::readValue(Hive hive, const std::string& path,
                                                    const std::string& name) {
  KeyHandle key;
  LSTATUS status = openKey(hive, path, KEY_READ, key);
  if (status == ERROR_FILE_NOT_FOUND) {
    return std::nullopt;
  }
  if (status != ERROR_SUCCESS) {
    fail("Cannot open the registry key", path, status);
  }
  const std::wstring wideName = toWide(name);
  DWORD type = 0;
  DWORD size = 0;
  status = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) {
    return std::nullopt;
  }
  std::vector<BYTE> data;
  // The value may grow between the two queries; ask again with the size it reports.
  do {
    data.resize(size);
    status = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, data.data(), &size);
  } while (status == ERROR_MORE_DATA);
  if (status == ERROR_FILE_NOT_FOUND) {
    return std::nullopt;
  }
  if (status != ERROR_SUCCESS) {
    fail("Cannot read the registry value", path + "\\" + name, status);
  }
  data.resize(size);
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return RegistryValue::ofString(stringFromData(data));
    case REG_DWORD:
      if (data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        CopyMemory(&number, data.data(), sizeof number);
        return RegistryValue::ofDword(number);
      }
      break;
    case REG_BINARY:
      return RegistryValue::ofBinary(std::vector<std::uint8_t>(data.begin(), data.end()));
    default:
      break;
  }
  // A type the driver never writes (REG_QWORD, REG_MULTI_SZ...) cannot pass for one it reads.
  throw RegistryError(wrongTypeMessage(name));
}

void WinRegistry::writeValue(Hive hive, const std::string& path, const std::string& name,
                             const RegistryValue& value) {
  KeyHandle key;
  createKeyHandle(hive, path, key);
  const std::wstring wideName = toWide(name);
  LSTATUS status = ERROR_SUCCESS;
  switch (value.kind) {
    case ValueKind::String: {
      const std::wstring text = toWide(value.text);
      status = RegSetValueExW(key.get(), wideName.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
      break;
    }
    case ValueKind::Dword: {
      const DWORD number = value.dword;
      status = RegSetValueExW(key.get(), wideName.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&number), sizeof number);
      break;
    }
    case ValueKind::Binary:
      status = RegSetValueExW(key.get(), wideName.c_str(), 0, REG_BINARY, value.bytes.data(),
                              static_cast<DWORD>(value.bytes.size()));
      break;
  }
  if (status != ERROR_SUCCESS) {
    fail("Cannot write the registry value", path + "\\" + name, status);
  }
}

bool WinRegistry::deleteValue(Hive hive, const std::string& path, const std::string& name) {
  KeyHandle key;
  LSTATUS status = openKey(hive, path, KEY_SET_VALUE, key);
  if (status == ERROR_FILE_NOT_FOUND) {
    return false;
  }
  if (status != ERROR_SUCCESS) {
    fail("Cannot open the registry key", path, status);
  }
  status = RegDeleteValueW(key.get(), toWide(name).c_str());
  if (status == ERROR_FILE_NOT_FOUND) {
    return false;
  }
  if (status != ERROR_SUCCESS) {
    fail("Cannot delete the registry value", path + "\\" + name, status);
  }
  return true;
}

}  // namespace tramox::platform::win32
