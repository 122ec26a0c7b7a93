// Windows of an X desktop: the active window from _NET_ACTIVE_WINDOW, frames
// as the window manager builds them, and the window under the pointer.
#pragma once

#include <memory>

#include "platform/window_source.h"

namespace vistrel {

class X11Connection;

class X11WindowSource : public IWindowSource {
 public:
  explicit X11WindowSource(std::shared_ptr<X11Connection> conn);

  TWindowId ActiveWindow() override;
  std::optional<TScreenRect> OuterRect(TWindowId window) override;
  std::optional<TScreenRect> ClientRect(TWindowId window) override;
  std::optional<TPointedWindow> WindowUnderPointer() override;
  std::optional<TPointedWindow> WindowAt(int x, int y) override;

 private:
  // The window's inside in root coordinates; `border` gets its border width.
  std::optional<TScreenRect> InsideRect(std::uint32_t window, int* border);
  // The window's rectangle in root coordinates, its border included.
  std::optional<TScreenRect> RootRectWithBorder(std::uint32_t window);
  // The child of the root that holds `window`; 0 when it is gone.
  std::uint32_t TopLevelOf(std::uint32_t window);
  bool HasWmState(std::uint32_t window);
  // Whether a child of the root (or the client in its frame, at most
  // `depth` levels down) is this process's window.
  bool IsOwnWindow(std::uint32_t window, int depth);
  // The topmost shown child of `parent` at (x, y) (root coordinates),
  // passing over this process's windows when asked; 0 for none.
  std::uint32_t ChildAt(std::uint32_t parent, int x, int y, bool skip_own);

  std::shared_ptr<X11Connection> conn_;
};

}  // namespace vistrel
