// Rules of the picture window that need no window: preset rectangles, the
// Monitors menu, window placement, the stored window state and the stored
// resample filter.
#pragma once

#include <array>
#include <optional>

#include "imaging/operations/resample.h"
#include "platform/screen_rect.h"

namespace vistrel {

// ---- preset rectangles (Rectangles submenu) --------------------------------

// The part of the picture the view shows, in picture pixels.
struct TVisibleArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// A selection rectangle in picture pixels, right and bottom inclusive.
struct TSelectionBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const TSelectionBox&) const = default;
};

// A width x height rectangle centred in the visible part of the picture,
// its size limited to that part. It covers exactly width x height pixels.
TSelectionBox PresetRectangle(int width, int height, const TVisibleArea& visible);

// ---- Monitors menu -----------------------------------------------------

struct TMonitorsMenuState {
  bool menu = false;                  // the "Monitors" menu itself
  bool all_monitors = false;          // "All Monitors"
  std::array<bool, 4> monitor{};      // "Monitor 1" .. "Monitor 4"
  bool operator==(const TMonitorsMenuState&) const = default;
};

// One monitor: all disabled. Two to four: the menu, "All Monitors" and one
// item per monitor. More than four: only the menu and "All Monitors".
TMonitorsMenuState MonitorsMenuEnabling(int monitor_count);

// ---- window placement --------------------------------------------------

inline constexpr int kMinWindowWidth = 636;
inline constexpr int kMinWindowHeight = 434;

struct TWindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TWindowRect&) const = default;
};

// 636 x 434 centred on the primary screen ("Restore Window to Default" and
// the defaults of the stored position).
TWindowRect DefaultWindowRect(int screen_width, int screen_height);

// A new window is fitted into the capture bounds: a size beyond the bounds'
// right or bottom edge becomes 640 or 480, and a window that would stick out
// past them is centred on the primary screen on that axis.
TWindowRect FitWindowIntoBounds(TWindowRect window, const TScreenRect& bounds, int screen_width,
                                int screen_height);

// ---- stored window state (MainFormState) -------------------------------

enum class TWindowShow { Normal, Maximised, Minimised };

// 2 opens maximised; 0, 1 and anything else open normal.
TWindowShow WindowShowFromStored(int stored);
// 1 normal, 2 maximised, 0 minimised.
int StoredWindowShow(TWindowShow show);

// ---- resample filter (Options > Quality Filter, ResampleFilter) --------

// 1 Mitchell, 2 Bspline, 3 Lanczos3, 4 Bell; nothing for other values.
std::optional<TResampleFilter> ResampleFilterFromStored(int stored);
// The inverse; 0 for a filter the menu does not offer.
int StoredResampleFilter(TResampleFilter filter);

}  // namespace vistrel
