// "Refresh screen" on X11: a window over the whole root, mapped and unmapped
// again, uncovers every window below it, and the server asks each of them
// to repaint what it uncovered.
#pragma once

#include <memory>

#include "platform/screen_refresh.h"

namespace vistrel {

class X11Connection;

class X11ScreenRefresh : public IScreenRefresh {
 public:
  explicit X11ScreenRefresh(std::shared_ptr<X11Connection> conn);
  void RefreshScreen() override;

 private:
  std::shared_ptr<X11Connection> conn_;
};

}  // namespace vistrel
