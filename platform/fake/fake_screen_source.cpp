#include "platform/fake/fake_screen_source.h"

#include <algorithm>
#include <cstring>

namespace vistrel {

bool FakeScreenSource::GrabRect(const TScreenRect& rect, TPictureBitmap& out) {
  grabs.push_back(rect);
  out.Allocate(std::max(rect.Width(), 0), std::max(rect.Height(), 0));
  if (fail) return false;
  const TScreenRect part =
      Intersection(rect, TScreenRect{0, 0, desktop.Width(), desktop.Height()});
  for (int y = part.top; y < part.bottom; ++y)
    std::memcpy(out.Row(y - rect.top) + std::size_t(part.left - rect.left) * 3,
                desktop.Row(y) + std::size_t(part.left) * 3, std::size_t(part.Width()) * 3);
  return true;
}

}  // namespace vistrel
