// Screen refreshes for tests: counted.
#pragma once

#include "platform/screen_refresh.h"

namespace vistrel {

class FakeScreenRefresh : public IScreenRefresh {
 public:
  int refreshes = 0;
  void RefreshScreen() override { ++refreshes; }
};

}  // namespace vistrel
