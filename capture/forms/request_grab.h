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
// its area, or for Area and Object what the picture holds without a choice
// on the frozen desktop (the desktop area when that would cancel). Why the
// screen could not be read goes into `failure` where given.
TPictureBitmap GrabForCaptureRequest(TAppContext& context, const TCaptureRequest& request,
                                     std::string* failure = nullptr);

}  // namespace vistrel
