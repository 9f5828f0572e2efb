#include "platform/win32/wide_text.h"

#include <windows.h>

namespace tramox::platform::win32 {

std::wstring toWide(const std::string& utf8) {
  if (utf8.empty()) {
    return {};
  }
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string fromWide(const wchar_t* wide, int length) {
  if (wide == nullptr || length <= 0) {
    return {};
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

std::string fromWide(const std::wstring& wide) {
  return fromWide(wide.data(), static_cast<int>(wide.size()));
}

std::string systemMessage(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = fromWide(buffer, static_cast<int>(length));
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  if (text.empty()) {
    char hex[32];
    wsprintfA(hex, "Error 0x%08lX", code);
    text = hex;
  }
  return text;
}

}  // namespace tramox::platform::win32
