// A cursor for tests: whatever the test puts in.
#pragma once

#include "platform/cursor_source.h"

namespace vistrel {

class FakeCursorSource : public ICursorSource {
 public:
  std::optional<TCursorImage> cursor;
  int reads = 0;

  std::optional<TCursorImage> CurrentCursor() override {
    ++reads;
    return cursor;
  }
};

}  // namespace vistrel
