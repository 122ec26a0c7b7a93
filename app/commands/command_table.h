// The shared commands: one row per command of the tray form's command set,
// with its caption, shortcut and initial state. The tray menu and the
// picture window's menus and toolbar all show these same commands.
#pragma once

#include <span>
#include <string_view>

namespace vistrel {

struct TCommandRow {
  int number;                 // ActionN
  std::string_view caption;
  std::string_view shortcut;  // Qt key sequence text, empty for none
  bool checkable;
  bool checked;               // at process start
  bool enabled;               // at process start
};

// In the order the captions are set at start.
std::span<const TCommandRow> CommandTable();
const TCommandRow* FindCommand(int number);

// Commands that do nothing while the picture window is busy.
bool RefusedWhilePictureBusy(int number);


// Copy, Paste and Cut: switched off while a dialog with text fields is
// open, so that Ctrl+C, Ctrl+V and Ctrl+X reach the dialog.
inline constexpr int kClipboardCommands[] = {5, 6, 7};

}  // namespace vistrel
