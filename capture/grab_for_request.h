// GrabForRequest: the grab a picture window makes as the last step of its
// creation: sound, cursor, and the area of the capture request.
#pragma once

#include "capture/capture_mode.h"
#include "imaging/picture_bitmap.h"
#include "platform/beeper.h"
#include "platform/cursor_source.h"
#include "platform/screen_source.h"
#include "platform/sound_player.h"
#include "platform/window_source.h"

namespace vistrel {

struct TGrabServices {
  IScreenSource& screen;
  ICursorSource& cursor;
  IWindowSource& windows;
  ISoundPlayer& sound;
  IBeeper& beeper;
};

// The picture window's option commands and state that the grab depends on.
struct TGrabOptions {
  bool sound = false;             // "Sound"
  bool include_cursor = false;    // "Include Cursor"
  bool client_area_only = false;  // "Client Area only"
  bool capture_timer_running = false;  // Automatic Save is on
};

// The rectangle a desktop mode asks for: the custom capture rectangle while
// the capture timer runs, else the capture bounds.
TScreenRect DesktopRequestRect(const TScreenRect& capture_bounds, bool capture_timer_running,
                               const TScreenRect& custom_capture_rect);

// Grabs the area of `request` into `picture`, confined to `capture_bounds`:
// reads the cursor, plays the sound (the grab follows its end), grabs, then
// draws the cursor where it was. Returns the screen rectangle grabbed.
TScreenRect GrabForRequest(const TGrabServices& services, TCaptureMode request,
                           const TScreenRect& capture_bounds,
                           const TScreenRect& custom_capture_rect, const TGrabOptions& options,
                           TPictureBitmap& picture);

}  // namespace vistrel
