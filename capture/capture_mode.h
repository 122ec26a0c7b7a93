// What a capture takes. The codes are also the ids of the six hotkeys.
#pragma once

#include <optional>

namespace vistrel {

enum TCaptureMode : int {
  cmDesktop = 1000,
  cmDesktopSave = 1001,
  cmRectArea = 1002,
  cmActiveWindow = 1003,
  cmActiveWindowSave = 1004,
  cmSpareSlot = 1005,
};

// The window modes grab the foreground window; the others the desktop area.
constexpr bool IsWindowCaptureMode(TCaptureMode mode) {
  return mode == cmActiveWindow || mode == cmActiveWindowSave || mode == cmSpareSlot;
}

// The mode a hotkey id stands for; nothing for ids outside 1000..1005.
constexpr std::optional<TCaptureMode> CaptureModeForHotkeyId(int id) {
  if (id < cmDesktop || id > cmSpareSlot) return std::nullopt;
  return TCaptureMode(id);
}

}  // namespace vistrel
