#include "platform/fake/fake_screen_source.h"

#include <algorithm>
#include <cstring>

namespace vistrel {

bool FakeScreenSource::GrabRect(const TScreenRect& rect, TPictureBitmap& out) {
  out.Allocate(std::max(rect.Width(), 0), std::max(rect.Height(), 0));
  const bool failing = fail || grabs.size() >= fail_after;
  grabs.push_back(rect);
  if (failing) return false;
  const TScreenRect part =
      Intersection(rect, TScreenRect{0, 0, desktop.Width(), desktop.Height()});
  for (int y = part.top; y < part.bottom; ++y)
    std::memcpy(out.Row(y - rect.top) + std::size_t(part.left - rect.left) * 3,
                desktop.Row(y) + std::size_t(part.left) * 3, std::size_t(part.Width()) * 3);
  return true;
}

}  // namespace vistrel
