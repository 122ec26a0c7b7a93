// The one message for a grab the desktop refused or could not make, shown
// wherever a capture or re-grab stops for it.
#pragma once

#include <string>

class QWidget;

namespace vistrel {

// "The screen could not be captured: <reason>." in an error box.
void ShowCaptureFailure(QWidget* parent, const std::string& reason);

}  // namespace vistrel
