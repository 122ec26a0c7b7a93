// Conversions between rectangles on a frozen desktop picture and screen
// rectangles. A selection box counts its right and bottom pixels (inclusive);
// a screen rectangle stops one short of its right and bottom (exclusive).
// The frozen picture starts at the screen point where its grab started.
#pragma once

#include <optional>

#include "imaging/picture_mask.h"
#include "platform/screen_rect.h"

namespace vistrel {

// The screen rectangle that holds exactly the selected pixels.
TScreenRect ScreenRectOfSelection(const TPictureRect& box, const TScreenRect& frozen);

// The selection that shows a stored screen rectangle on the frozen picture,
// cut to it; nothing when no pixel of the rectangle is on the picture.
std::optional<TPictureRect> SelectionOfScreenRect(const TScreenRect& rect,
                                                  const TScreenRect& frozen);

// Where on the frozen picture a window's pixels are: the window confined to
// the capture bounds as every grab is, then cut to the frozen picture.
// Nothing when none of it was frozen.
std::optional<TPictureRect> FrozenPartOfWindow(const TScreenRect& window,
                                               const TScreenRect& bounds,
                                               const TScreenRect& frozen);

// The outline the object overlay draws before a click: the part of the
// window that picking takes, at its place on the overlay, which covers
// `desktop` and shows the frozen picture where it was grabbed.
std::optional<TScreenRect> OverlayRectOfWindow(const TScreenRect& window, const TScreenRect& bounds,
                                               const TScreenRect& frozen,
                                               const TScreenRect& desktop);

// The default custom capture rectangle: the desktop inset by 4 pixels on
// each side.
TScreenRect DefaultCustomCaptureRect(const TScreenRect& desktop);

}  // namespace vistrel
