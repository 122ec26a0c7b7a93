// The capture state the whole process shares: the mode the next picture
// window grabs, the area every grab is confined to, and the rectangle that
// desktop grabs take while the capture timer runs.
#pragma once

#include "capture/capture_mode.h"
#include "platform/screen_rect.h"

namespace vistrel {

struct TCaptureState {
  TCaptureMode CaptureRequest = cmDesktop;
  TScreenRect CaptureBounds;
  TScreenRect CustomCaptureRect;
};

// Set only while the custom capture rectangle is being chosen on the frozen
// desktop: the selection is stored, not copied.
inline bool DefineRectMode = false;

// The one instance of the running program.
TCaptureState& CaptureState();

}  // namespace vistrel
