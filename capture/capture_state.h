// The mode the next picture window grabs, shared by the tray form and the
// capture pipeline.
#pragma once

#include "capture/capture_mode.h"

namespace vistrel {

struct TCaptureState {
  TCaptureMode CaptureRequest = cmDesktop;
};

// The one instance of the running program.
TCaptureState& CaptureState();

}  // namespace vistrel
