#pragma once
// UTF-8 <-> UTF-16 at the Windows boundary: the core keeps UTF-8, the wide APIs want UTF-16.
#include <string>

namespace tramox::platform::win32 {

std::wstring toWide(const std::string& utf8);
std::string fromWide(const std::wstring& wide);
std::string fromWide(const wchar_t* wide, int length);
// The system's message text for an HRESULT or Win32 error code, without the trailing newline.
std::string systemMessage(unsigned long code);

}  // namespace tramox::platform::win32
