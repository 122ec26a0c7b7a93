// GrabForRequest: the grab of a capture request: cursor, sound, and the
// area the request asks for.
#pragma once

#include <optional>
#include <string>

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

// Whether `area` is the user's pick in the desktop's own dialog rather than
// a rectangle the program finds: the window modes and object picking,
// where the desktop tells no program where its windows are.
bool PickedByDesktop(const IWindowSource& windows, TCaptureArea area);

// The picture of the desktop's own dialog (PickWindow); nothing when there
// is none, with `failure` naming why unless the user left the dialog.
std::optional<TPictureBitmap> PickFromDesktop(IWindowSource& windows, std::string& failure);

// The area a request grabs first, before any choice on the frozen desktop:
// Area and Object grab what they fall back to (the desktop area when they
// would cancel). Where the desktop picks windows, Object is that pick, and
// an Area falling back to a window grabs the desktop area, leaving the
// pick for when nothing is selected.
TCaptureArea FirstGrabArea(const TCaptureRequest& request, bool desktop_picks_windows);

// Whether the request's choice is made on the frozen desktop.
bool ChoosesOnFrozenDesktop(const TCaptureRequest& request, bool desktop_picks_windows);

// Whether leaving the frozen desktop without a selection asks the desktop's
// dialog for the window the request falls back to.
bool PicksWhenUnselected(const TCaptureRequest& request, bool desktop_picks_windows);

// Grabs `area` into `picture`, confined to `capture_bounds` (a monitor
// asked for by number: to that monitor): reads the cursor, plays the sound
// (the grab follows its end), grabs, then draws the cursor where it was.
// Area and Object grab the desktop area; the choice on the frozen desktop
// comes after. Returns the screen rectangle grabbed; a screen that could
// not be read is named in `failure` where given. A window mode whose window
// source could not ask the desktop grabs nothing and names why.
// An area PickedByDesktop is the picture of the desktop's dialog, without
// the cursor (the pick's place on the screen is not told), the sound once
// it came; the rectangle returned is then empty. A pick the user left
// gives an empty picture and sets `cancelled` where given.
TScreenRect GrabForRequest(const TGrabServices& services, TCaptureArea area,
                           const TScreenRect& capture_bounds,
                           const TScreenRect& custom_capture_rect, const TGrabOptions& options,
                           TPictureBitmap& picture, std::string* failure = nullptr,
                           bool* cancelled = nullptr);

}  // namespace vistrel
