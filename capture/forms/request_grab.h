// The first steps of every capture request, before any window exists: the
// settings, the capture bounds, the sound and the grab.
#pragma once

#include <string>

#include "capture/capture_request.h"
#include "imaging/picture_bitmap.h"
#include "settings/other_options.h"

namespace vistrel {

struct TAppContext;

// The stored option commands go into the command set, the capture bounds
// from the stored Monitors choice and the stored custom rectangle into
// `context`, as a picture window's creation sets them. Returns the
// picture-window settings as stored.
PictureWindowOptions LoadCaptureSettings(TAppContext& context);

// Whether the grab of `request` draws the mouse cursor in.
bool DrawsCursor(const TAppContext& context, const TCaptureRequest& request);

// The sound, the cursor and the grab of `request` with the settings loaded:
// its FirstGrabArea. Why the screen could not be read goes into `failure`
// where given; a pick the user left in the desktop's dialog sets
// `cancelled`.
TPictureBitmap GrabForCaptureRequest(TAppContext& context, const TCaptureRequest& request,
                                     std::string* failure = nullptr, bool* cancelled = nullptr);

}  // namespace vistrel
