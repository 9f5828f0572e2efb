#pragma once
// The paddle window on systems without one: it draws nothing, keeps the state of every control
// as the paddle model last set it, and lets a client (the tramox command-line client, tests)
// print that state and play the user's actions into the paddle.
#include <memory>
#include <string>
#include <vector>

#include "platform/paddle_view.h"

namespace tramox::platform {

class HeadlessPaddleView : public IPaddleView {
 public:
  class Registry;
  explicit HeadlessPaddleView(Registry& registry);
  ~HeadlessPaddleView() override;
  HeadlessPaddleView(const HeadlessPaddleView&) = delete;
  HeadlessPaddleView& operator=(const HeadlessPaddleView&) = delete;

  void create(const std::string& caption, int width, int height,
              const std::vector<PaddleControlState>& controls, IPaddleEvents& events) override;
  void update(const PaddleControlState& control) override;
  bool drawsContinuously() const override { return false; }
  void show() override;
  void close() override;

  const std::string& caption() const { return caption_; }
  bool visible() const { return visible_; }
  // Lets the paddle first produce the texts it put off (the position labels).
  const std::vector<PaddleControlState>& controls();

  // The user's actions; each is handed to the paddle, which may drop it (hidden window,
  // disabled control). Control names match whatever their case.
  void mouseDown(const std::string& control);
  void mouseUp(const std::string& control);
  void click(const std::string& control);
  void moveSlider(int position);
  void pressCloseBox();
  // The paddle's own sink, for a client that names controls as the paddle does; nullptr
  // before the paddle made its window.
  IPaddleEvents* events() const { return events_; }

 private:
  std::string canonicalName(const std::string& typed) const;

  Registry& registry_;
  std::string caption_;
  std::vector<PaddleControlState> controls_;
  IPaddleEvents* events_ = nullptr;
  bool visible_ = false;
};

class HeadlessPaddleViewFactory : public IPaddleViewFactory {
 public:
  HeadlessPaddleViewFactory();
  ~HeadlessPaddleViewFactory() override;
  std::unique_ptr<IPaddleView> createView() override;

  // The paddle the user would see: the newest view still alive; nullptr when there is none
  // (never connected, or disconnected since).
  HeadlessPaddleView* current() const;

 private:
  std::unique_ptr<HeadlessPaddleView::Registry> registry_;
};

// The process's headless paddle factory (platform::Services::paddleViews on POSIX).
HeadlessPaddleViewFactory& headlessPaddleViewFactory();

// One line per control, as the command-line client prints them:
// control NAME text="TEXT" visible=BOOL enabled=BOOL[ position=P]
// with backslash escapes for '"' and '\' in the text; the slider alone has a position.
std::string describePaddleControl(const PaddleControlState& control);

}  // namespace tramox::platform
