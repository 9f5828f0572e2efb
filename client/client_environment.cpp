#include "client/client_environment.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "platform/win32/wide_text.h"
#else
#include <unistd.h>
#endif

namespace tramox::client {

bool hasEnvironment(const std::string& name) {
  return std::getenv(name.c_str()) != nullptr;
}

#ifdef _WIN32

void setEnvironment(const std::string& name, const std::string& value, bool overwrite) {
  if (!overwrite && hasEnvironment(name)) {
    return;
  }
  // Both the C runtime's copy (read with getenv) and the process block (read by the Win32
  // calls of the module).
  _putenv_s(name.c_str(), value.c_str());
  SetEnvironmentVariableW(platform::win32::toWide(name).c_str(),
                          platform::win32::toWide(value).c_str());
}

std::string makeTemporaryFolder(const std::string& prefix) {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) {
    return "";
  }
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const auto folder = base / (prefix + "." + std::to_string(GetCurrentProcessId()) + "." +
                                std::to_string(GetTickCount() + attempt));
    if (std::filesystem::create_directory(folder, error)) {
      return platform::win32::fromWide(folder.wstring());
    }
  }
  return "";
}

bool isTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

#else

void setEnvironment(const std::string& name, const std::string& value, bool overwrite) {
  setenv(name.c_str(), value.c_str(), overwrite ? 1 : 0);
}

std::string makeTemporaryFolder(const std::string& prefix) {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);  // honours TMPDIR
  if (error) {
    base = "/tmp";
  }
  std::string pattern = (base / (prefix + ".XXXXXX")).string();
  const char* made = mkdtemp(pattern.data());
  return made ? made : "";
}

bool isTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

#endif

}  // namespace tramox::client
