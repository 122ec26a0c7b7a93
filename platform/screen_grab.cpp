#include "platform/screen_grab.h"

namespace vistrel {

TScreenRect ConfineToCaptureBounds(const TScreenRect& rect, const TScreenRect& b) {
  TScreenRect r = rect;
  if (r.right > b.right || r.right < 0) r.right = b.right;
  if (r.left < b.left || r.left > b.right) r.left = b.left;
  // The top is held to the bounds' top, like the left edge: compared with 0
  // alone, a monitor below another would let a grab reach up into its
  // neighbour.
  if (r.top > b.bottom || r.top < b.top) r.top = b.top;
  if (r.bottom > b.bottom || r.bottom < b.top) r.bottom = b.bottom;
  if (r.right - r.left <= 0) {
    r.left = b.left;
    r.right = b.right;
  }
  if (r.bottom - r.top <= 0) {
    r.top = b.top;
    r.bottom = b.bottom;
  }
  return r;
}

TScreenRect GrabScreenRect(IScreenSource& screen, const TScreenRect& bounds,
                           TPictureBitmap& bitmap, const TScreenRect& rect,
                           std::string* failure) {
  const TScreenRect area = ConfineToCaptureBounds(rect, bounds);
  if (!screen.GrabRect(area, bitmap) && failure) *failure = screen.GrabFailure();
  return area;
}

}  // namespace vistrel
