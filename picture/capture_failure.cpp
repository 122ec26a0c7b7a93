#include "picture/capture_failure.h"

#include "commands/message_boxes.h"

namespace vistrel {

void ShowCaptureFailure(QWidget* parent, const std::string& reason) {
  ShowErrorBox(parent, "The screen could not be captured: " + QString::fromStdString(reason) + ".");
}

}  // namespace vistrel
