// Where the pointer was, in screen pixels, at the latest pointer event the
// program received. When Qt scales the interface it hands widgets positions
// rounded to whole scaled pixels, so every other screen pixel could not be
// pointed at; this keeps the exact one.
#pragma once

#include <optional>

namespace vistrel {

struct TScreenPoint {
  int x = 0;
  int y = 0;
};

class TDevicePointer {
 public:
  // Starts watching the application's pointer events (once). Where the
  // desktop is not X11 nothing is ever recorded.
  static void Install();
  // Nothing before the first pointer event.
  static std::optional<TScreenPoint> LastScreenPosition();
};

}  // namespace vistrel
