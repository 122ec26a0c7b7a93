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

bool PickedByDesktop(const IWindowSource& windows, TCaptureArea area) {
  return windows.PicksInteractively() &&
         (area == TCaptureArea::Window || area == TCaptureArea::ClientArea ||
          area == TCaptureArea::Object);
}

namespace {

bool IsWindowArea(std::optional<TCaptureArea> area) {
  return area == TCaptureArea::Window || area == TCaptureArea::ClientArea;
}

}  // namespace

std::optional<TPictureBitmap> PickFromDesktop(IWindowSource& windows, std::string& failure) {
  TWindowPick pick = windows.PickWindow();
  if (!pick.picture.Empty()) return std::move(pick.picture);
  if (!pick.cancelled) failure = pick.failure.empty() ? "the desktop gave no picture" : pick.failure;
  return std::nullopt;
}

TCaptureArea FirstGrabArea(const TCaptureRequest& request, bool desktop_picks_windows) {
  const TCaptureArea fallback = request.unselected.value_or(TCaptureArea::Desktop);
  switch (request.area) {
    case TCaptureArea::Area:
      return desktop_picks_windows && IsWindowArea(fallback) ? TCaptureArea::Desktop : fallback;
    case TCaptureArea::Object:
      return desktop_picks_windows ? TCaptureArea::Object : fallback;
    default:
      return request.area;
  }
}

bool ChoosesOnFrozenDesktop(const TCaptureRequest& request, bool desktop_picks_windows) {
  return request.area == TCaptureArea::Area ||
         (request.area == TCaptureArea::Object && !desktop_picks_windows);
}

bool PicksWhenUnselected(const TCaptureRequest& request, bool desktop_picks_windows) {
  return request.area == TCaptureArea::Area && desktop_picks_windows &&
         IsWindowArea(request.unselected);
}

TScreenRect GrabForRequest(const TGrabServices& services, TCaptureArea area,
                           const TScreenRect& capture_bounds,
                           const TScreenRect& custom_capture_rect, const TGrabOptions& options,
                           TPictureBitmap& picture, std::string* failure, bool* cancelled) {
  if (PickedByDesktop(services.windows, area)) {
    std::string pick_failure;
    std::optional<TPictureBitmap> picked = PickFromDesktop(services.windows, pick_failure);
    picture = picked ? std::move(*picked) : TPictureBitmap();
    if (picked && options.sound) PlayCaptureSound(services.sound, services.beeper);
    if (!pick_failure.empty() && failure) *failure = pick_failure;
    if (!picked && pick_failure.empty() && cancelled) *cancelled = true;
    return TScreenRect{};
  }
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
