// Windows for tests: a table of windows with their rectangles.
#pragma once

#include <map>

#include "platform/window_source.h"

namespace vistrel {

class FakeWindowSource : public IWindowSource {
 public:
  struct Window {
    TScreenRect outer;
    TScreenRect client;
  };
  std::map<TWindowId, Window> windows;
  TWindowId active = 0;
  std::optional<TPointedWindow> pointed;
  std::string failure;  // as if the desktop could not be asked
  // Set: windows come from the desktop's dialog, which answers with this.
  std::optional<TWindowPick> pick;
  int picks = 0;  // how often the dialog was asked

  TWindowId ActiveWindow() override { return failure.empty() ? active : 0; }
  std::optional<TScreenRect> OuterRect(TWindowId w) override {
    auto found = windows.find(w);
    if (found == windows.end()) return std::nullopt;
    return found->second.outer;
  }
  std::optional<TScreenRect> ClientRect(TWindowId w) override {
    auto found = windows.find(w);
    if (found == windows.end()) return std::nullopt;
    return found->second.client;
  }
  std::optional<TPointedWindow> WindowUnderPointer() override { return pointed; }
  std::optional<TPointedWindow> WindowAt(int, int) override { return pointed; }
  std::string Failure() const override { return failure; }
  bool PicksInteractively() const override { return pick.has_value(); }
  TWindowPick PickWindow() override {
    ++picks;
    return pick.value_or(TWindowPick{});
  }
};

}  // namespace vistrel
