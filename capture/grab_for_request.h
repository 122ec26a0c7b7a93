// GrabForRequest: the grab of a capture request: cursor, sound, and the
// area the request asks for.
#pragma once

#include "capture/capture_request.h"
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

// The option commands and state that the grab depends on, as the request
// has settled them.
struct TGrabOptions {
  bool sound = false;             // "Sound"
  bool include_cursor = false;    // "Include Cursor"
  bool client_area_only = false;  // TCaptureArea::Window takes the client area
  bool capture_timer_running = false;  // Automatic Save is on
  int monitor = 0;                // TCaptureArea::Monitor, 1-based
};

// The rectangle a desktop mode asks for: the custom capture rectangle while
// the capture timer runs, else the capture bounds.
TScreenRect DesktopRequestRect(const TScreenRect& capture_bounds, bool capture_timer_running,
                               const TScreenRect& custom_capture_rect);

// Grabs `area` into `picture`, confined to `capture_bounds` (a monitor
// asked for by number: to that monitor): reads the cursor, plays the sound
// (the grab follows its end), grabs, then draws the cursor where it was.
// Area and Object grab the desktop area; the choice on the frozen desktop
// comes after. Returns the screen rectangle grabbed; a screen that could
// not be read is named in `failure` where given. A window mode whose window
// source could not ask the desktop grabs nothing and names why.
TScreenRect GrabForRequest(const TGrabServices& services, TCaptureArea area,
                           const TScreenRect& capture_bounds,
                           const TScreenRect& custom_capture_rect, const TGrabOptions& options,
                           TPictureBitmap& picture, std::string* failure = nullptr);

}  // namespace vistrel
