#include "capture/area_rects.h"

#include "platform/screen_grab.h"

namespace vistrel {

TScreenRect ScreenRectOfSelection(const TPictureRect& box, const TScreenRect& frozen) {
  return {frozen.left + box.left, frozen.top + box.top, frozen.left + box.right + 1,
          frozen.top + box.bottom + 1};
}

std::optional<TPictureRect> SelectionOfScreenRect(const TScreenRect& rect,
                                                  const TScreenRect& frozen) {
  const TScreenRect on_picture = Intersection(rect, frozen);
  if (on_picture.IsEmpty()) return std::nullopt;
  return TPictureRect{on_picture.left - frozen.left, on_picture.top - frozen.top,
                      on_picture.right - 1 - frozen.left, on_picture.bottom - 1 - frozen.top};
}

std::optional<TPictureRect> FrozenPartOfWindow(const TScreenRect& window,
                                               const TScreenRect& bounds,
                                               const TScreenRect& frozen) {
  return SelectionOfScreenRect(ConfineToCaptureBounds(window, bounds), frozen);
}

std::optional<TScreenRect> OverlayRectOfWindow(const TScreenRect& window, const TScreenRect& bounds,
                                               const TScreenRect& frozen,
                                               const TScreenRect& desktop) {
  const std::optional<TPictureRect> part = FrozenPartOfWindow(window, bounds, frozen);
  if (!part) return std::nullopt;
  const int dx = frozen.left - desktop.left, dy = frozen.top - desktop.top;
  return TScreenRect{part->left + dx, part->top + dy, part->right + 1 + dx, part->bottom + 1 + dy};
}

TScreenRect DefaultCustomCaptureRect(const TScreenRect& desktop) {
  return {desktop.left + 4, desktop.top + 4, desktop.right - 4, desktop.bottom - 4};
}

}  // namespace vistrel
