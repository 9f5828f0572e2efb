#include <windows.h>

#include "alpaca/driver_host.h"
#include "alpaca/driver_host_loop.h"
#include "platform/win32/queued_calls_message.h"

namespace tramox::alpaca {

namespace {

constexpr const wchar_t* kWindowClass = L"TRAMOX.AlpacaDriverThread";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == platform::win32::queuedCallsMessage()) {
    if (auto* host = reinterpret_cast<DriverHost*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      host->serveQueue();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class MessageLoop final : public DriverLoop {
 public:
  explicit MessageLoop(DriverHost& host) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
  }
  ~MessageLoop() override { DestroyWindow(window_); }

  void run(const bool& quit) override {
    MSG message;
    while (!quit && GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  void wake() override { PostMessageW(window_, platform::win32::queuedCallsMessage(), 0, 0); }

 private:
  HWND window_ = nullptr;
};

}  // namespace

std::unique_ptr<DriverLoop> makeDriverLoop(DriverHost& host, WorkQueue&) {
  return std::make_unique<MessageLoop>(host);
}

}  // namespace tramox::alpaca
