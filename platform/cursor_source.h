// The mouse cursor as it is shown right now: its picture, hotspot and place.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vistrel {

struct TCursorImage {
  int x = 0;  // pointer position, screen coordinates
  int y = 0;
  int hotspot_x = 0;
  int hotspot_y = 0;
  int width = 0;
  int height = 0;
  // width * height pixels, rows top-down, 0xAARRGGBB with the colour
  // premultiplied by alpha.
  std::vector<std::uint32_t> argb;
};

class ICursorSource {
 public:
  virtual ~ICursorSource() = default;
  // Nothing when the cursor cannot be read.
  virtual std::optional<TCursorImage> CurrentCursor() = 0;
};

}  // namespace vistrel
