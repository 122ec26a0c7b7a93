// Where screen pixels come from: the monitor layout and a copy of any
// rectangle of the whole desktop.
#pragma once

#include <string>
#include <vector>

#include "imaging/picture_bitmap.h"
#include "platform/monitor.h"
#include "platform/screen_rect.h"

namespace vistrel {

class IScreenSource {
 public:
  virtual ~IScreenSource() = default;

  // Monitors in the system's order: the primary monitor first, then the
  // others as the desktop lists them.
  virtual std::vector<TMonitor> Monitors() = 0;

  // Copies the pixels of `rect` into `out`, which becomes a 24-bit picture of
  // the rectangle's size. Parts of the rectangle that lie off the screen are
  // black. Returns false when the screen could not be read (the picture is
  // then black, still of the rectangle's size).
  virtual bool GrabRect(const TScreenRect& rect, TPictureBitmap& out) = 0;

  // Why the last GrabRect returned false, in words for the user.
  virtual std::string GrabFailure() const { return "the screen could not be read"; }
};

}  // namespace vistrel
