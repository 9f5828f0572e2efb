#include "client/com_paddle.h"

#include <commctrl.h>

#include <string>

#include "paddle/paddle_layout.h"
#include "platform/win32/paddle_window.h"
#include "platform/win32/wide_text.h"
#include "server/member_table.h"

namespace tramox::client {
namespace {

using platform::PaddleControlKind;
using platform::PaddleControlState;
using platform::win32::PaddleWindow;

// Where a press lands inside a control: any point of the client area will do.
constexpr LPARAM kPressPoint = MAKELPARAM(2, 2);

BOOL CALLBACK matchPaddle(HWND window, LPARAM found) {
  wchar_t className[64] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() &&
      GetClassNameW(window, className, static_cast<int>(std::size(className))) > 0 &&
      std::wstring(className) == PaddleWindow::kWindowClass) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

HWND controlWindow(HWND paddle, std::size_t creationIndex) {
  return GetDlgItem(paddle, PaddleWindow::kFirstControlId + static_cast<int>(creationIndex));
}

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return platform::win32::fromWide(text);
}

}  // namespace

HWND findPaddleWindow() {
  HWND found = nullptr;
  EnumWindows(&matchPaddle, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::optional<std::vector<PaddleControlState>> readPaddle() {
  const HWND paddle = findPaddleWindow();
  if (paddle == nullptr) {
    return std::nullopt;
  }
  std::vector<PaddleControlState> controls = paddle::designControls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    PaddleControlState& c = controls[i];
    const HWND child = controlWindow(paddle, i);
    if (child == nullptr) {
      c.visible = false;
      c.enabled = false;
      continue;
    }
    // The picture is painted as the window's background; its child only marks the place
    // and stays hidden, so it keeps its designed text and visibility.
    if (c.kind != PaddleControlKind::Picture) {
      c.text = windowText(child);
      // The control's own flag: the whole paddle may be hidden (close box) meanwhile.
      c.visible = (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    c.enabled = IsWindowEnabled(child) != FALSE;
    if (c.kind == PaddleControlKind::Slider) {
      c.position = static_cast<int>(SendMessageW(child, TBM_GETPOS, 0, 0));
    }
  }
  return controls;
}

namespace {

// The control of that name (any case) in the paddle window, or the slider when slider is set.
HWND targetOf(HWND paddle, const std::string& control, bool slider) {
  const std::vector<PaddleControlState> design = paddle::designControls();
  HWND target = nullptr;
  for (std::size_t i = 0; i < design.size(); ++i) {
    const bool wanted = slider ? design[i].kind == PaddleControlKind::Slider
                               : server::equalsIgnoreCase(design[i].name, control);
    if (wanted) {
      target = controlWindow(paddle, i);
    }
  }
  return target;
}

}  // namespace

void WindowPaddleEvents::send(const std::string& control, UINT message, WPARAM w, LPARAM l) {
  const HWND paddle = findPaddleWindow();
  if (paddle == nullptr) {
    return;
  }
  if (const HWND target = targetOf(paddle, control, false)) {
    SendMessageW(target, message, w, l);
  }
  settle_();
}

void WindowPaddleEvents::mouseDown(const std::string& control) {
  send(control, WM_LBUTTONDOWN, MK_LBUTTON, kPressPoint);
}

void WindowPaddleEvents::mouseUp(const std::string& control) {
  send(control, WM_LBUTTONUP, 0, kPressPoint);
}

void WindowPaddleEvents::click(const std::string& control) {
  send(control, BM_CLICK, 0, 0);
}

void WindowPaddleEvents::sliderMoved(int position) {
  const HWND paddle = findPaddleWindow();
  if (paddle == nullptr) {
    return;
  }
  if (const HWND target = targetOf(paddle, "", true)) {
    SendMessageW(target, TBM_SETPOS, TRUE, position);
    SendMessageW(paddle, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(target));
  }
  settle_();
}

void WindowPaddleEvents::closeBox() {
  const HWND paddle = findPaddleWindow();
  if (paddle == nullptr) {
    return;
  }
  SendMessageW(paddle, WM_CLOSE, 0, 0);
  settle_();
}

}  // namespace tramox::client
