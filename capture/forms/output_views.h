// The views of one frozen desktop. Over X11 that is the form's own view over
// the whole virtual desktop. Where a window cannot span outputs (Wayland)
// the form fills the first output, and each further output gets a
// full-screen window of its own with a view of its part of the same
// picture; all views show one selection, so a drag may cross outputs.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "capture/forms/TFrozenDesktopView.h"
#include "capture/forms/overlay_window.h"
#include "platform/monitor.h"

namespace vistrel {

class TOutputViews {
 public:
  // Each view paired with the screen area its window covers (device pixels).
  using TPlacedViews = std::vector<std::pair<TFrozenDesktopView*, TScreenRect>>;

  TOutputViews(TOverlayWindow& form, TFrozenDesktopView& view);

  // Places the form, and windows for the other outputs when each output
  // needs one, and marks the monitors on each view. `prepare` sets up a
  // view of another output as the form's view is set up (hint, cursor,
  // handlers).
  void Place(const std::vector<TMonitor>& monitors,
             const std::function<void(TFrozenDesktopView&)>& prepare);
  // After the form's view got its picture, grabbed at `frozen`: the other
  // views get it too, each at its place on the screen.
  void ShowPicture(const TScreenRect& frozen);

  const TPlacedViews& Views() const { return views_; }
  void ForEach(const std::function<void(TFrozenDesktopView&)>& apply) const {
    for (const auto& placed : views_) apply(*placed.first);
  }

 private:
  void Share(const TFrozenDesktopView& from);

  TOverlayWindow& form_;
  TFrozenDesktopView& view_;
  bool per_output_ = false;
  TPlacedViews views_;
};

}  // namespace vistrel
