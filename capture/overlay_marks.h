// What the frozen-desktop windows draw over the frozen picture to show that
// it is frozen: the selection's size beside it while it is dragged, and a
// magnifier beside the pointer. Places are pixels of the overlay window
// (right and bottom exclusive); every mark stays inside the monitor it is
// shown on. The marks are painted on the window only, never into the
// picture.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "imaging/picture_bitmap.h"
#include "imaging/picture_mask.h"
#include "imaging/selection_geometry.h"
#include "platform/monitor.h"
#include "platform/screen_rect.h"

namespace vistrel {

inline constexpr int kMagnifierCells = 15;  // picture pixels across and down
inline constexpr int kMagnifierZoom = 8;    // interface pixels per picture pixel

using TMagnifierPixels = std::array<std::optional<TPicturePoint>, kMagnifierCells * kMagnifierCells>;

// "W × H" (UTF-8).
std::string SizeLabelText(int width, int height);

// The monitors measured from the overlay's corner, which is the corner of
// `desktop`.
std::vector<TScreenRect> MonitorsOnOverlay(const std::vector<TMonitor>& monitors,
                                           const TScreenRect& desktop);

// The monitor holding the point, else the nearest one; `fallback` without
// monitors.
TScreenRect MonitorAt(const std::vector<TScreenRect>& monitors, int x, int y,
                      const TScreenRect& fallback);

// Moves `box` inside `monitor` by as little as possible; a box larger than
// the monitor starts at its top or left edge.
TScreenRect KeepInside(const TScreenRect& box, const TScreenRect& monitor);

// A label of the given size under the selection, from its left edge; above
// it where there is no room below; inside the monitor in every case.
TScreenRect PlaceSizeLabel(const TScreenRect& selection, int width, int height,
                           const TScreenRect& monitor);

// The label moved clear of the magnifier when they would overlap: beside or
// above or below it, whichever first fits on the monitor.
TScreenRect AvoidMagnifier(const TScreenRect& label, const TScreenRect& magnifier,
                           const TScreenRect& monitor);

// The magnifier down and right of the pointer pixel (x, y), clear of the
// cursor; on the other side of the pointer where the monitor ends.
TScreenRect PlaceMagnifier(int x, int y, int width, int height, const TScreenRect& monitor);

// The picture pixels the magnifier shows, row by row, centred on `centre`;
// none for cells off `area` (the picture's pixels on the pointer's monitor).
TMagnifierPixels MagnifierPixels(TPicturePoint centre, const TPictureRect& area);

// "x, y  #RRGGBB" for the centre pixel, at its place on the screen.
std::string MagnifierCaption(TPicturePoint pixel, TColor colour);

}  // namespace vistrel
