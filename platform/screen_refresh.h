// Asking every window of the desktop to repaint itself ("Refresh screen").
#pragma once

namespace vistrel {

class IScreenRefresh {
 public:
  virtual ~IScreenRefresh() = default;

  // Every window on the screen is told to draw itself again; returns when
  // the request has reached the desktop (the repaints follow on their own).
  virtual void RefreshScreen() = 0;
};

}  // namespace vistrel
