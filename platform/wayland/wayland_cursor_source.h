// The cursor on a wlroots compositor. Wayland hands no client the cursor's
// picture, but the compositor draws it into a screen copy on request: the
// pixels where a copy with the cursor differs from one without are the
// cursor as shown, placed where it is shown.
#pragma once

#include <memory>

#include "imaging/picture_bitmap.h"
#include "platform/cursor_source.h"

namespace vistrel {

class WaylandDisplay;

class WaylandCursorSource : public ICursorSource {
 public:
  explicit WaylandCursorSource(std::shared_ptr<WaylandDisplay> display);
  // Nothing while no output shows a cursor.
  std::optional<TCursorImage> CurrentCursor() override;

 private:
  std::shared_ptr<WaylandDisplay> display_;
};

// The cursor as the difference of two copies of one output (same size):
// opaque where they differ, with the colours of `with_cursor`; the
// rectangle around the differences, at `origin`. Nothing where they agree.
std::optional<TCursorImage> CursorFromDifference(const TPictureBitmap& without_cursor,
                                                 const TPictureBitmap& with_cursor, int origin_x,
                                                 int origin_y);

}  // namespace vistrel
