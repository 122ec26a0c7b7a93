// Windows of sway (and compositors that speak its IPC): the focused
// window, frames and client areas from the compositor's tree, turned from
// its logical pixels into the device pixels of the output they are on.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/window_source.h"

namespace vistrel {

class WaylandDisplay;

// One application window of the tree, in the compositor's logical pixels.
struct TSwayWindow {
  TWindowId id = 0;
  long pid = 0;
  std::string output;  // the output's name
  TScreenRect frame;   // title bar and borders included
  TScreenRect client;
  bool focused = false;
  // On a workspace that its output shows and in front of its tabs, whether
  // or not a full-screen window covers it.
  bool visible = false;
};

// The application windows of a get_tree reply, the topmost first (full
// screen, then floating, then tiled); nothing for a reply that is no tree.
std::optional<std::vector<TSwayWindow>> SwayWindowsOfTree(const std::string& tree_json);

class SwayWindowSource : public IWindowSource {
 public:
  // Where the pointer is, in the compositor's logical pixels, as the
  // program's own windows last saw it: Wayland tells no client where the
  // pointer is while it is over other clients.
  using TPointerPosition = std::function<std::optional<std::pair<int, int>>()>;

  SwayWindowSource(std::shared_ptr<WaylandDisplay> display, std::string socket_path,
                   TPointerPosition pointer);

  TWindowId ActiveWindow() override;
  std::optional<TScreenRect> OuterRect(TWindowId window) override;
  std::optional<TScreenRect> ClientRect(TWindowId window) override;
  std::optional<TPointedWindow> WindowUnderPointer() override;
  std::optional<TPointedWindow> WindowAt(int x, int y) override;
  std::string Failure() const override { return failure_; }

 private:
  // Nothing when the compositor gave no tree; failure_ says why.
  std::optional<std::vector<TSwayWindow>> Windows();
  std::optional<TSwayWindow> Find(TWindowId window);
  // Logical to device pixels through the output the window is on.
  TScreenRect ToDevice(const TScreenRect& logical, const std::string& output);
  // The topmost shown window of another process for which `under` holds,
  // else the whole desktop; nothing without the tree.
  std::optional<TPointedWindow> Pointed(const std::function<bool(const TSwayWindow&)>& under);

  std::shared_ptr<WaylandDisplay> display_;
  std::string socket_path_;
  TPointerPosition pointer_;
  std::string failure_;
};

}  // namespace vistrel
