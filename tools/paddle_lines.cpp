#include "tools/paddle_lines.h"

#include "client/value_format.h"

namespace tramox::tools {

using client::quoteText;

std::string paddleControlLine(const platform::PaddleControlState& control) {
  std::string line = "control " + control.name + " text=" + quoteText(control.text);
  line += control.visible ? " visible=true" : " visible=false";
  line += control.enabled ? " enabled=true" : " enabled=false";
  if (control.kind == platform::PaddleControlKind::Slider) {
    line += " position=" + std::to_string(control.position);
  }
  return line;
}

}  // namespace tramox::tools
