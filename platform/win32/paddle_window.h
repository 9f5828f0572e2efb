#pragma once
// The hand paddle as a Win32 window: fixed-size dialog frame, always on top, the galaxy
// picture as background, transparent coloured labels, push buttons, owner-drawn direction
// buttons that report press and release with any mouse button, and a three-position slider.
//
// The window belongs to the thread that creates it and reacts only while that thread pumps
// messages (the client's apartment thread). Each child window's control identifier is
// kFirstControlId plus its creation index, so tools and tests can find a control by name
// through the model's creation order.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/paddle_view.h"

namespace tramox::platform::win32 {

class PaddleWindow final : public IPaddleView {
 public:
  static constexpr int kFirstControlId = 1000;
  static constexpr const wchar_t* kWindowClass = L"TRaquette";

  PaddleWindow();
  ~PaddleWindow() override;
  PaddleWindow(const PaddleWindow&) = delete;
  PaddleWindow& operator=(const PaddleWindow&) = delete;

  void create(const std::string& caption, int width, int height,
              const std::vector<PaddleControlState>& controls, IPaddleEvents& events) override;
  void update(const PaddleControlState& control) override;
  bool drawsContinuously() const override { return true; }
  void show() override;
  // Hides the window; it is destroyed with the view.
  void close() override;

  HWND handle() const { return window_; }

 private:
  struct Child;
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK directionButtonProc(HWND button, UINT message, WPARAM wParam,
                                              LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleDirectionButton(Child& child, UINT message, WPARAM wParam, LPARAM lParam);

  void destroy();
  void createChild(const PaddleControlState& state, int index);
  void applyTabOrder(const std::vector<PaddleControlState>& controls);
  void applyState(Child& child, const PaddleControlState& state);
  void fitLabel(Child& child);
  void repaintBehind(const RECT& area);
  void paintBackground(HDC dc);
  void drawDirectionButton(const DRAWITEMSTRUCT& item);
  void press(Child& child);
  void release(Child& child);
  Child* findByName(const std::string& name);
  Child* findByHandle(HWND handle);
  // Events may fail in ways the model did not catch; nothing may unwind through the system.
  template <class Event>
  void raise(Event&& event);

  HWND window_ = nullptr;
  IPaddleEvents* events_ = nullptr;
  std::vector<Child> children_;
  HBITMAP background_ = nullptr;
  HICON icon_ = nullptr;
  HFONT controlFont_ = nullptr;
  HFONT labelFont_ = nullptr;
  int sliderPosition_ = 0;
};

}  // namespace tramox::platform::win32
