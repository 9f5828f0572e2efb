#pragma once
// The window that shows the hand paddle. The paddle model (paddle/) owns the controls' state;
// a view only draws it and reports the user's actions. Win32 draws a real window; POSIX keeps
// a headless view whose state clients can print.
#include <memory>
#include <string>
#include <vector>

namespace tramox::platform {

// Button is a push button with a caption; BitmapButton shows a glyph (the direction buttons).
enum class PaddleControlKind { Label, Button, BitmapButton, Slider, Picture };

struct PaddleControlState {
  std::string name;  // "LabelAD", "ButtonNorth", ...
  PaddleControlKind kind = PaddleControlKind::Label;
  std::string text;  // caption or label text (UTF-8)
  bool visible = true;
  bool enabled = true;
  int position = 0;   // slider only
  int tabOrder = -1;  // buttons and slider; -1 when the control takes no focus
  int left = 0, top = 0, width = 0, height = 0;
};

// What the view reports; the paddle model routes each event to its handler.
class IPaddleEvents {
 public:
  virtual ~IPaddleEvents() = default;
  virtual void mouseDown(const std::string& control) = 0;
  virtual void mouseUp(const std::string& control) = 0;
  virtual void click(const std::string& control) = 0;
  virtual void sliderMoved(int position) = 0;
  virtual void closeBox() = 0;
  // A view that does not draw continuously is about to hand its controls' state to a reader:
  // texts the model put off producing are due now, through update().
  virtual void aboutToBeRead() {}
};

class IPaddleView {
 public:
  virtual ~IPaddleView() = default;
  // Called once with every control in creation order, before show().
  virtual void create(const std::string& caption, int width, int height,
                      const std::vector<PaddleControlState>& controls, IPaddleEvents& events) = 0;
  virtual void update(const PaddleControlState& control) = 0;
  // True when every update reaches the screen at once; a view that only hands its state to
  // readers says false, and the model may then produce costly texts when they are read.
  virtual bool drawsContinuously() const = 0;
  virtual void show() = 0;
  virtual void close() = 0;
};

class IPaddleViewFactory {
 public:
  virtual ~IPaddleViewFactory() = default;
  virtual std::unique_ptr<IPaddleView> createView() = 0;
};

}  // namespace tramox::platform
