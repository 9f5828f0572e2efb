#include "server/win32/error_info.h"

#include <oleauto.h>

#include "platform/win32/wide_text.h"

namespace tramox::server::win32 {

void publishErrorInfo(const MemberFailure& failure, const IID& interfaceId) noexcept {
  try {
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create))) {
      return;
    }
    const std::wstring description = platform::win32::toWide(failure.description);
    const std::wstring source = platform::win32::toWide(failure.source);
    create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    create->SetSource(const_cast<LPOLESTR>(source.c_str()));
    create->SetGUID(interfaceId);
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  } catch (...) {
    // Out of memory while reporting: the status code alone still reaches the client.
  }
}

}  // namespace tramox::server::win32
