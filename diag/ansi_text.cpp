#include "diag/ansi_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tramox::diag {

#ifdef _WIN32
std::string toLogFileEncoding(const std::string& utf8) {
  if (utf8.empty()) {
    return utf8;
  }
  const int length = static_cast<int>(utf8.size());
  int wideLength =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (wideLength <= 0) {
    return utf8;
  }
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), wideLength);
  int ansiLength =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (ansiLength <= 0) {
    return utf8;
  }
  std::string ansi(static_cast<std::size_t>(ansiLength), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), ansiLength, nullptr,
                      nullptr);
  return ansi;
}
#else
std::string toLogFileEncoding(const std::string& utf8) {
  return utf8;
}
#endif

}  // namespace tramox::diag
