#include "capture/grab_for_request.h"

#include "capture/active_window_rect.h"
#include "capture/capture_sound.h"
#include "capture/cursor_drawing.h"
#include "platform/capture_bounds.h"
#include "platform/screen_grab.h"

namespace vistrel {

TScreenRect DesktopRequestRect(const TScreenRect& capture_bounds, bool capture_timer_running,
                               const TScreenRect& custom_capture_rect) {
  return capture_timer_running ? custom_capture_rect : capture_bounds;
}

TScreenRect GrabForRequest(const TGrabServices& services, TCaptureArea area,
                           const TScreenRect& capture_bounds,
                           const TScreenRect& custom_capture_rect, const TGrabOptions& options,
                           TPictureBitmap& picture, std::string* failure) {
  // The cursor is taken before the sound, where the user left it.
  std::optional<TCursorImage> cursor;
  if (options.include_cursor) cursor = services.cursor.CurrentCursor();

  if (options.sound) PlayCaptureSound(services.sound, services.beeper);

  TScreenRect bounds = capture_bounds;
  TScreenRect requested;
  switch (area) {
    case TCaptureArea::Window:
    case TCaptureArea::ClientArea:
      requested = ActiveWindowRect(services.windows,
                                   area == TCaptureArea::ClientArea || options.client_area_only);
      // A desktop that could not be asked has no window in the foreground
      // either, and the whole desktop would pass for the window.
      if (const std::string why = services.windows.Failure(); !why.empty()) {
        if (failure) *failure = "the active window is not known: " + why;
        return TScreenRect{};
      }
      break;
    case TCaptureArea::Monitor:
      bounds = CaptureBoundsFor(services.screen.Monitors(), options.monitor - 1);
      requested = bounds;
      break;
    case TCaptureArea::Custom:
      requested = custom_capture_rect;
      break;
    case TCaptureArea::Desktop:
    case TCaptureArea::Area:
    case TCaptureArea::Object:
      requested =
          DesktopRequestRect(capture_bounds, options.capture_timer_running, custom_capture_rect);
      break;
  }
  const TScreenRect grabbed = GrabScreenRect(services.screen, bounds, picture, requested, failure);

  // Placed from the corner actually grabbed: where confinement cut the
  // requested rectangle, its own corner is not the picture's corner.
  if (cursor)
    DrawCursorImage(picture, *cursor, cursor->x - cursor->hotspot_x - grabbed.left,
                    cursor->y - cursor->hotspot_y - grabbed.top);
  return grabbed;
}

}  // namespace vistrel
