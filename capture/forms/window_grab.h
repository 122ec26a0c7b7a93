// The grab a new picture window opens with, made before the window exists.
#pragma once

#include "capture/capture_mode.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

struct TAppContext;

// The stored option commands, the capture bounds from the stored Monitors
// choice and the stored custom rectangle go into `context`, as the window's
// creation sets them; then the sound, the cursor and the area of `mode`.
TPictureBitmap GrabForNewWindow(TAppContext& context, TCaptureMode mode);

}  // namespace vistrel
