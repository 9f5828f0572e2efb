#include "platform/win32/paddle_window.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "platform/win32/paddle_artwork.h"
#include "platform/win32/paddle_window_factory.h"
#include "platform/win32/wide_text.h"

namespace tramox::platform::win32 {
namespace {

constexpr int kLeft = 816;
constexpr int kTop = 234;
// The frame may not be resized; its outer size stays within these bounds whatever the theme.
constexpr SIZE kMinOuter{163, 318};
constexpr SIZE kMaxOuter{165, 320};
constexpr int kControlFontHeight = 11;
constexpr int kLabelFontHeight = 16;
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr UINT kDeferredRelease = WM_APP + 1;
constexpr const wchar_t* kOwnerProperty = L"TramoxPaddleWindow";

struct LabelLook {
  const char* name;
  COLORREF colour;
  bool transparent;
};
constexpr LabelLook kLabelLooks[] = {
    {"LabelKing", kLime, true}, {"LabelPEC", kLime, true},         {"LabelAD", kRed, true},
    {"LabelDEC", kRed, true},   {"LabelSideOfPier", kLime, false},
};

struct DirectionLook {
  const char* name;
  GlyphDirection glyph;
};
// West to the right and East to the left: the sky as seen facing south.
constexpr DirectionLook kDirectionLooks[] = {
    {"ButtonWest", GlyphDirection::Right},
    {"ButtonSouth", GlyphDirection::Down},
    {"ButtonEast", GlyphDirection::Left},
    {"ButtonNorth", GlyphDirection::Up},
};

void loadCommonControls() {
  // Loaded at run time so the driver links nothing beyond the core system libraries; loading
  // comctl32 registers the slider class.
  static const bool loaded = [] {
    HMODULE module = LoadLibraryW(L"comctl32.dll");
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (module != nullptr) {
      auto init = reinterpret_cast<InitFunction>(
          reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControlsEx")));
      if (init != nullptr) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        init(&controls);
      }
    }
    return module != nullptr;
  }();
  (void)loaded;
}

HINSTANCE moduleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&moduleInstance), &module);
  return module;
}

HFONT makeFont(int height, int weight) {
  return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

}  // namespace

struct PaddleWindow::Child {
  std::string name;
  PaddleControlKind kind = PaddleControlKind::Label;
  HWND handle = nullptr;
  WNDPROC originalProc = nullptr;
  COLORREF textColour = 0;
  bool transparent = true;
  bool direction = false;
  GlyphDirection glyph = GlyphDirection::Up;
  bool pressed = false;
};

std::unique_ptr<IPaddleView> PaddleWindowFactory::createView() {
  return std::make_unique<PaddleWindow>();
}

PaddleWindow::PaddleWindow() {
  loadCommonControls();
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PaddleWindow::windowProc;
    windowClass.hInstance = moduleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  (void)registered;
}

PaddleWindow::~PaddleWindow() {
  destroy();
  if (background_ != nullptr) {
    DeleteObject(background_);
  }
  if (icon_ != nullptr) {
    DestroyIcon(icon_);
  }
  if (controlFont_ != nullptr) {
    DeleteObject(controlFont_);
  }
  if (labelFont_ != nullptr) {
    DeleteObject(labelFont_);
  }
}

void PaddleWindow::create(const std::string& caption, int width, int height,
                          const std::vector<PaddleControlState>& controls, IPaddleEvents& events) {
  close();
  events_ = &events;
  if (background_ == nullptr) {
    background_ = createGalaxyBitmap();
  }
  if (icon_ == nullptr) {
    icon_ = createPaddleIcon();
  }
  if (controlFont_ == nullptr) {
    controlFont_ = makeFont(kControlFontHeight, FW_NORMAL);
  }
  if (labelFont_ == nullptr) {
    labelFont_ = makeFont(kLabelFontHeight, FW_BOLD);
  }

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_WINDOWEDGE;
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int outerWidth = std::clamp<int>(frame.right - frame.left, kMinOuter.cx, kMaxOuter.cx);
  const int outerHeight = std::clamp<int>(frame.bottom - frame.top, kMinOuter.cy, kMaxOuter.cy);
  window_ = CreateWindowExW(exStyle, kWindowClass, toWide(caption).c_str(), style, kLeft, kTop,
                            outerWidth, outerHeight, nullptr, nullptr, moduleInstance(), this);
  if (window_ == nullptr) {
    return;
  }
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  // No "Maximize", "Size" or "Minimize" in the system menu of a dialog frame.
  if (HMENU menu = GetSystemMenu(window_, FALSE)) {
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MINIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_RESTORE, MF_BYCOMMAND);
  }
  children_.clear();
  children_.reserve(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    createChild(controls[i], static_cast<int>(i));
  }
  applyTabOrder(controls);
}

void PaddleWindow::applyTabOrder(const std::vector<PaddleControlState>& controls) {
  // The focus moves through siblings in z-order: stack the focusable ones by tab order.
  std::vector<std::size_t> focusable;
  for (std::size_t i = 0; i < controls.size() && i < children_.size(); ++i) {
    if (controls[i].tabOrder >= 0 && children_[i].handle != nullptr) {
      focusable.push_back(i);
    }
  }
  std::stable_sort(focusable.begin(), focusable.end(), [&](std::size_t a, std::size_t b) {
    return controls[a].tabOrder < controls[b].tabOrder;
  });
  HWND previous = HWND_TOP;
  for (std::size_t i : focusable) {
    SetWindowPos(children_[i].handle, previous, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    previous = children_[i].handle;
  }
}

void PaddleWindow::createChild(const PaddleControlState& state, int index) {
  Child child;
  child.name = state.name;
  child.kind = state.kind;
  const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index));
  const std::wstring text = toWide(state.text);
  const wchar_t* className = L"STATIC";
  DWORD style = WS_CHILD;
  HFONT font = controlFont_;
  switch (state.kind) {
    case PaddleControlKind::Picture:
      // Drawn by the window itself as its background; the child only marks its place.
      style |= SS_LEFT;
      break;
    case PaddleControlKind::Label:
      style |= SS_LEFT | SS_NOPREFIX;
      child.textColour = GetSysColor(COLOR_WINDOWTEXT);
      for (const LabelLook& look : kLabelLooks) {
        if (state.name == look.name) {
          child.textColour = look.colour;
          child.transparent = look.transparent;
          font = labelFont_;
        }
      }
      break;
    case PaddleControlKind::Button:
      className = L"BUTTON";
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case PaddleControlKind::BitmapButton:
      className = L"BUTTON";
      style |= WS_TABSTOP | BS_OWNERDRAW;
      child.direction = true;
      for (const DirectionLook& look : kDirectionLooks) {
        if (state.name == look.name) {
          child.glyph = look.glyph;
        }
      }
      break;
    case PaddleControlKind::Slider:
      className = TRACKBAR_CLASSW;
      style |= WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM;
      break;
  }
  int width = state.width;
  int height = state.height;
  if (state.kind == PaddleControlKind::Picture) {
    width = std::min(width, kBackgroundWidth);
    height = std::min(height, kBackgroundHeight);
  }
  child.handle = CreateWindowExW(0, className, text.c_str(), style, state.left, state.top, width,
                                 height, window_, id, moduleInstance(), nullptr);
  if (child.handle == nullptr) {
    children_.push_back(std::move(child));
    return;
  }
  SendMessageW(child.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (state.kind == PaddleControlKind::Slider) {
    SendMessageW(child.handle, TBM_SETRANGE, FALSE, MAKELPARAM(0, 2));
    SendMessageW(child.handle, TBM_SETPAGESIZE, 0, 1);
  }
  if (child.direction) {
    SetPropW(child.handle, kOwnerProperty, this);
    child.originalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(child.handle, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(&PaddleWindow::directionButtonProc)));
  }
  children_.push_back(std::move(child));
  applyState(children_.back(), state);
}

void PaddleWindow::applyState(Child& child, const PaddleControlState& state) {
  if (child.handle == nullptr) {
    return;
  }
  RECT before{};
  GetWindowRect(child.handle, &before);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&before), 2);
  if (child.kind == PaddleControlKind::Slider) {
    sliderPosition_ = state.position;
    SendMessageW(child.handle, TBM_SETPOS, TRUE, state.position);
  } else if (child.kind != PaddleControlKind::Picture) {
    SetWindowTextW(child.handle, toWide(state.text).c_str());
  }
  if (child.kind == PaddleControlKind::Label) {
    fitLabel(child);
  }
  EnableWindow(child.handle, state.enabled ? TRUE : FALSE);
  ShowWindow(child.handle,
             state.visible && child.kind != PaddleControlKind::Picture ? SW_SHOWNA : SW_HIDE);
  if (child.kind == PaddleControlKind::Label && child.transparent) {
    // A transparent label cannot erase its old text: repaint the picture behind it.
    RECT after{};
    GetWindowRect(child.handle, &after);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&after), 2);
    RECT both{};
    UnionRect(&both, &before, &after);
    repaintBehind(both);
  }
}

void PaddleWindow::fitLabel(Child& child) {
  // Labels size themselves to their text, as the designer laid them out.
  const int length = GetWindowTextLengthW(child.handle);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(child.handle, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  HDC dc = GetDC(child.handle);
  HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child.handle, WM_GETFONT, 0, 0)));
  RECT extent{0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &extent,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(child.handle, dc);
  SetWindowPos(child.handle, nullptr, 0, 0, text.empty() ? 0 : extent.right, extent.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaddleWindow::repaintBehind(const RECT& area) {
  if (window_ != nullptr && !IsRectEmpty(&area)) {
    RedrawWindow(window_, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void PaddleWindow::update(const PaddleControlState& control) {
  if (Child* child = findByName(control.name)) {
    applyState(*child, control);
  }
}

void PaddleWindow::show() {
  if (window_ != nullptr) {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
  }
}

void PaddleWindow::close() {
  // Closing hides; the window itself goes with the view.
  if (window_ != nullptr) {
    ShowWindow(window_, SW_HIDE);
  }
}

void PaddleWindow::destroy() {
  if (window_ != nullptr) {
    HWND window = window_;
    window_ = nullptr;
    DestroyWindow(window);
  }
  children_.clear();
}

PaddleWindow::Child* PaddleWindow::findByName(const std::string& name) {
  for (Child& child : children_) {
    if (child.name == name) {
      return &child;
    }
  }
  return nullptr;
}

PaddleWindow::Child* PaddleWindow::findByHandle(HWND handle) {
  for (Child& child : children_) {
    if (child.handle == handle) {
      return &child;
    }
  }
  return nullptr;
}

template <class Event>
void PaddleWindow::raise(Event&& event) {
  if (events_ == nullptr) {
    return;
  }
  try {
    event(*events_);
  } catch (const std::exception& failure) {
    MessageBoxW(window_, toWide(failure.what()).c_str(), L"TRAMOX", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(window_, L"Unexpected failure", L"TRAMOX", MB_OK | MB_ICONERROR);
  }
}

void PaddleWindow::paintBackground(HDC dc) {
  RECT client{};
  GetClientRect(window_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
  if (background_ == nullptr) {
    return;
  }
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, background_);
  // Unscaled from the top-left corner; the window shows only part of the picture.
  BitBlt(dc, 0, 0, std::min<int>(client.right, kBackgroundWidth),
         std::min<int>(client.bottom, kBackgroundHeight), memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void PaddleWindow::drawDirectionButton(const DRAWITEMSTRUCT& item) {
  const Child* child = findByHandle(item.hwndItem);
  RECT face = item.rcItem;
  const bool down = (item.itemState & ODS_SELECTED) != 0 || (child && child->pressed);
  DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
  RECT glyph = item.rcItem;
  if (down) {
    OffsetRect(&glyph, 1, 1);
  }
  drawDirectionGlyph(item.hDC, glyph, child ? child->glyph : GlyphDirection::Up,
                     (item.itemState & ODS_DISABLED) == 0);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(item.hDC, &focus);
  }
}

void PaddleWindow::press(Child& child) {
  child.pressed = true;
  InvalidateRect(child.handle, nullptr, FALSE);
  const std::string name = child.name;
  raise([&](IPaddleEvents& events) { events.mouseDown(name); });
}

void PaddleWindow::release(Child& child) {
  if (!child.pressed) {
    return;
  }
  child.pressed = false;
  InvalidateRect(child.handle, nullptr, FALSE);
  const std::string name = child.name;
  raise([&](IPaddleEvents& events) { events.mouseUp(name); });
}

LRESULT CALLBACK PaddleWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<PaddleWindow*>(create->lpCreateParams)->window_ = window;
  }
  auto* self = reinterpret_cast<PaddleWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ != window) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->handle(message, wParam, lParam);
}

LRESULT PaddleWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      paintBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_CTLCOLORSTATIC: {
      Child* child = findByHandle(reinterpret_cast<HWND>(lParam));
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (child == nullptr) {
        break;
      }
      SetTextColor(dc, child->textColour);
      if (child->transparent) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      SetBkColor(dc, GetSysColor(COLOR_MENU));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_MENU));
    }
    case WM_DRAWITEM:
      drawDirectionButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        Child* child = findByHandle(reinterpret_cast<HWND>(lParam));
        // Direction buttons act on press and release only.
        if (child != nullptr && !child->direction) {
          const std::string name = child->name;
          raise([&](IPaddleEvents& events) { events.click(name); });
        }
        return 0;
      }
      break;
    case WM_HSCROLL: {
      Child* child = findByHandle(reinterpret_cast<HWND>(lParam));
      if (child != nullptr && child->kind == PaddleControlKind::Slider) {
        const int position = static_cast<int>(SendMessageW(child->handle, TBM_GETPOS, 0, 0));
        if (position != sliderPosition_) {
          sliderPosition_ = position;
          raise([&](IPaddleEvents& events) { events.sliderMoved(position); });
        }
        return 0;
      }
      break;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {kMinOuter.cx, kMinOuter.cy};
      info->ptMaxTrackSize = {kMaxOuter.cx, kMaxOuter.cy};
      return 0;
    }
    case WM_CLOSE:
      // The close box only hides the paddle; it comes back with the next connection.
      ShowWindow(window_, SW_HIDE);
      raise([](IPaddleEvents& events) { events.closeBox(); });
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK PaddleWindow::directionButtonProc(HWND button, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
  auto* self = static_cast<PaddleWindow*>(GetPropW(button, kOwnerProperty));
  Child* child = self != nullptr ? self->findByHandle(button) : nullptr;
  if (child == nullptr) {
    return DefWindowProcW(button, message, wParam, lParam);
  }
  return self->handleDirectionButton(*child, message, wParam, lParam);
}

LRESULT PaddleWindow::handleDirectionButton(Child& child, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  const WNDPROC original = child.originalProc;
  const HWND button = child.handle;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
      const LRESULT result = CallWindowProcW(original, button, message, wParam, lParam);
      // Any mouse button: hold the mouse so the release is seen wherever it happens.
      SetCapture(button);
      if (!child.pressed) {
        press(child);
      }
      return result;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const LRESULT result = CallWindowProcW(original, button, message, wParam, lParam);
      if (GetCapture() == button) {
        ReleaseCapture();
      }
      if (Child* still = findByHandle(button)) {
        release(*still);
      }
      return result;
    }
    case WM_CAPTURECHANGED:
      // The press lost the mouse (an error box, another window): the release may never come,
      // and an axis must not run on unattended. Stop it once the current event is over.
      if (child.pressed) {
        PostMessageW(button, kDeferredRelease, 0, 0);
      }
      break;
    case kDeferredRelease:
      if (GetCapture() != button) {
        release(child);
      }
      return 0;
    case WM_NCDESTROY:
      RemovePropW(button, kOwnerProperty);
      SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      break;
    default:
      break;
  }
  return CallWindowProcW(original, button, message, wParam, lParam);
}

}  // namespace tramox::platform::win32
