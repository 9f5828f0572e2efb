#include "platform/win32/win_message_windows.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/wide_text.h"

namespace tramox::platform::win32 {
namespace {

bool recordUnattended(const char* kind, const std::string& text) {
  const std::wstring variable = toWide(WinMessageWindows::kUnattendedVariable);
  const DWORD length = GetEnvironmentVariableW(variable.c_str(), nullptr, 0);
  if (length == 0) {
    return false;
  }
  std::wstring path(length, L'\0');
  path.resize(GetEnvironmentVariableW(variable.c_str(), path.data(), length));
  if (FILE* file = _wfopen(path.c_str(), L"ab")) {
    std::fprintf(file, "%s: %s\r\n", kind, text.c_str());
    std::fclose(file);
  }
  return true;
}

void show(const std::string& text, UINT icon) {
  MessageBoxW(nullptr, toWide(text).c_str(), toWide(WinMessageWindows::kTitle).c_str(),
              MB_OK | icon | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

void WinMessageWindows::showMessage(const std::string& text) {
  if (!recordUnattended("message", text)) {
    show(text, 0);
  }
}

void WinMessageWindows::showErrorBox(const std::string& text) {
  if (!recordUnattended("error", text)) {
    show(text, MB_ICONERROR);
  }
}

}  // namespace tramox::platform::win32
