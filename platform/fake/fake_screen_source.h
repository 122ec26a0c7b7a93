// A screen for tests: fixed monitors over an in-memory desktop picture.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/screen_source.h"

namespace vistrel {

class FakeScreenSource : public IScreenSource {
 public:
  std::vector<TMonitor> monitors;
  TPictureBitmap desktop;            // pixel (0, 0) is screen point (0, 0)
  std::vector<TScreenRect> grabs;    // every rectangle asked for, in order
  bool fail = false;                 // GrabRect reports an unreadable screen
  std::size_t fail_after = SIZE_MAX;  // so do the grabs after this many

  std::vector<TMonitor> Monitors() override { return monitors; }
  bool GrabRect(const TScreenRect& rect, TPictureBitmap& out) override;
};

}  // namespace vistrel
