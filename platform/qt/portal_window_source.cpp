#include "platform/qt/portal_window_source.h"

#include <cstring>

#include "platform/qt/portal_screenshot.h"

namespace vistrel {

TWindowPick PortalWindowSource::PickWindow() {
  const TPortalScreenshot shot = TakePortalScreenshot(true);
  TWindowPick pick;
  pick.cancelled = shot.cancelled;
  pick.failure = shot.failure;
  if (shot.picture.isNull()) return pick;
  pick.picture.Allocate(shot.picture.width(), shot.picture.height());
  for (int y = 0; y < shot.picture.height(); ++y)
    std::memcpy(pick.picture.Row(y), shot.picture.constScanLine(y),
                std::size_t(shot.picture.width()) * 3);
  return pick;
}

}  // namespace vistrel
