// Screen pixels and monitors of a wlroots compositor: every output copied
// whole through wlr-screencopy, placed where the output lies in device
// pixels.
#pragma once

#include <memory>

#include "platform/screen_source.h"

namespace vistrel {

class WaylandDisplay;
struct TOutputFrame;
struct TWaylandOutput;

class WaylandScreenSource : public IScreenSource {
 public:
  explicit WaylandScreenSource(std::shared_ptr<WaylandDisplay> display);

  std::vector<TMonitor> Monitors() override;
  bool GrabRect(const TScreenRect& rect, TPictureBitmap& out) override;

 private:
  std::shared_ptr<WaylandDisplay> display_;
};

// Copies the part `part` (screen coordinates, inside `output_rect`) of an
// output's frame into `out` at (dst_x, dst_y). False for pixel formats and
// output rotations it does not know.
bool CopyFramePart(const TOutputFrame& frame, int transform, const TScreenRect& output_rect,
                   const TScreenRect& part, TPictureBitmap& out, int dst_x, int dst_y);

}  // namespace vistrel
