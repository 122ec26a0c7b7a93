#include "platform/qt/portal_screen_source.h"

#include <algorithm>
#include <cstring>

#include "platform/monitor.h"
#include "platform/qt/portal_screenshot.h"

namespace vistrel {

PortalScreenSource::PortalScreenSource(std::unique_ptr<IScreenSource> layout)
    : layout_(std::move(layout)) {}

std::vector<TMonitor> PortalScreenSource::Monitors() { return layout_->Monitors(); }

bool PortalScreenSource::GrabRect(const TScreenRect& rect, TPictureBitmap& out) {
  out.Allocate(std::max(rect.Width(), 0), std::max(rect.Height(), 0));
  if (out.Empty()) return true;
  const TPortalScreenshot shot = TakePortalScreenshot(false);
  if (shot.picture.isNull()) {
    failure_ = shot.failure;
    return false;
  }
  const TScreenRect desktop = VirtualDesktopRect(Monitors());
  // A picture of another size than the desktop (monitors of different
  // scales drawn at one) would put pixels in the wrong places.
  if (shot.picture.width() != desktop.Width() || shot.picture.height() != desktop.Height()) {
    failure_ = "the desktop's screenshot does not match the monitors as they lie";
    return false;
  }
  const TScreenRect part = Intersection(rect, desktop);
  for (int y = part.top; y < part.bottom; ++y)
    std::memcpy(out.Row(y - rect.top) + std::size_t(part.left - rect.left) * 3,
                shot.picture.constScanLine(y - desktop.top) +
                    std::size_t(part.left - desktop.left) * 3,
                std::size_t(part.Width()) * 3);
  return true;
}

}  // namespace vistrel
