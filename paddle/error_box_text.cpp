#include "paddle/error_box_text.h"

namespace tramox::paddle {

std::string errorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
    return message + ".";
  }
  return message;
}

}  // namespace tramox::paddle
