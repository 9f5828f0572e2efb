#pragma once
// Makes real Win32 paddle windows.
#include "platform/paddle_view.h"

namespace tramox::platform::win32 {

class PaddleWindowFactory final : public IPaddleViewFactory {
 public:
  std::unique_ptr<IPaddleView> createView() override;
};

}  // namespace tramox::platform::win32
