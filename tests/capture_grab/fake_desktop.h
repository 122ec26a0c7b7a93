// A two-monitor desktop for the capture tests: monitor 1 is 1920 x 1080 at
// the origin, monitor 2 is 1024 x 768 to its right. Every screen pixel has
// a colour of its own, so a grabbed picture tells where it came from.
#pragma once

#include "platform/fake/fake_screen_source.h"

namespace vistrel::testing {

inline const TScreenRect kMonitor1{0, 0, 1920, 1080};
inline const TScreenRect kMonitor2{1920, 0, 2944, 768};
inline const TScreenRect kWholeDesktop{0, 0, 2944, 1080};

inline TColor ScreenColour(int x, int y) {
  return MakeColor(std::uint8_t(x), std::uint8_t(y), std::uint8_t((x >> 8) | ((y >> 8) << 4)));
}

inline void MakeTwoMonitorDesktop(FakeScreenSource& screen) {
  screen.monitors = {TMonitor{kMonitor1, true, "LEFT"}, TMonitor{kMonitor2, false, "RIGHT"}};
  screen.desktop.Allocate(kWholeDesktop.Width(), kWholeDesktop.Height());
  for (int y = 0; y < screen.desktop.Height(); ++y)
    for (int x = 0; x < screen.desktop.Width(); ++x) screen.desktop.SetPixel(x, y, ScreenColour(x, y));
}

// True when `picture` holds the screen pixels of `area`.
inline bool ShowsScreenArea(const TPictureBitmap& picture, const TScreenRect& area) {
  if (picture.Width() != area.Width() || picture.Height() != area.Height()) return false;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.Pixel(x, y) != ScreenColour(area.left + x, area.top + y)) return false;
  return true;
}

}  // namespace vistrel::testing
