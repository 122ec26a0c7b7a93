// Screen pixels through the desktop portal's Screenshot interface, for
// Wayland desktops whose compositor copies the screen for no other client
// (GNOME, KDE Plasma). The portal takes a picture of the whole desktop,
// which is cut to the rectangle asked for; the monitor layout comes from
// the compositor.
#pragma once

#include <memory>
#include <string>

#include "platform/screen_source.h"

namespace vistrel {

class PortalScreenSource : public IScreenSource {
 public:
  explicit PortalScreenSource(std::unique_ptr<IScreenSource> layout);

  std::vector<TMonitor> Monitors() override;
  // False when the portal is missing, the user or the desktop refused, or
  // the picture does not cover the desktop as the monitors lie.
  bool GrabRect(const TScreenRect& rect, TPictureBitmap& out) override;
  std::string GrabFailure() const override { return failure_; }

 private:
  std::unique_ptr<IScreenSource> layout_;
  std::string failure_;
};

}  // namespace vistrel
