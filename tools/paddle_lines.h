#pragma once
// The paddle's controls as the client prints them, whatever window shows the paddle.
#include <string>

#include "platform/paddle_view.h"

namespace tramox::tools {

// control NAME text="TEXT" visible=BOOL enabled=BOOL[ position=P] (the slider alone has a
// position), with the text quoted as string values are.
std::string paddleControlLine(const platform::PaddleControlState& control);

}  // namespace tramox::tools
