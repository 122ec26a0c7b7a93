// Gives the picture window the shell's services behind its Hotkey,
// Shortcuts and Help items: the hotkey setup dialog on the live table,
// the shortcut routine and the help document.
#pragma once

namespace vistrel {

class THotKeys;
}  // namespace vistrel
class QWidget;
namespace vistrel {

// The hotkey setup dialog, modal, centred over `over` (the screen when null).
void OpenHotKeySetup(THotKeys& hotkeys, QWidget* over);

// `hotkeys` must outlive every picture window.
void InstallPictureWindowServices(THotKeys& hotkeys);

}  // namespace vistrel
