// "Refresh screen" under a compositor: it builds every frame from the
// windows' current pictures, so no window can show stale pixels and there
// is nothing to ask for.
#pragma once

#include "platform/screen_refresh.h"

namespace vistrel {

class ComposedScreenRefresh : public IScreenRefresh {
 public:
  void RefreshScreen() override {}
};

}  // namespace vistrel
