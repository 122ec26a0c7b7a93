#include "commands/error_guard.h"

#include <exception>

#include "commands/message_boxes.h"

namespace vistrel {

void RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowErrorBox(nullptr, QString::fromUtf8(e.what()));
  } catch (...) {
    ShowErrorBox(nullptr, "An unexpected error occurred.");
  }
}

}  // namespace vistrel
