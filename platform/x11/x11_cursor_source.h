// The cursor of an X server through XFixes GetCursorImage.
#pragma once

#include <memory>

#include "platform/cursor_source.h"

namespace vistrel {

class X11Connection;

class X11CursorSource : public ICursorSource {
 public:
  explicit X11CursorSource(std::shared_ptr<X11Connection> conn);
  std::optional<TCursorImage> CurrentCursor() override;

 private:
  std::shared_ptr<X11Connection> conn_;
  bool xfixes_ = false;
};

}  // namespace vistrel
