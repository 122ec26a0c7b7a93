// Gives the picture window the shell's services behind its Hotkey,
// Shortcuts and Help items: the hotkey setup dialog on the live table,
// the shortcut routine and the help document.
#pragma once

namespace vistrel {

class THotKeys;

// `hotkeys` must outlive every picture window.
void InstallPictureWindowServices(THotKeys& hotkeys);

}  // namespace vistrel
