// Gives the picture windows what the other parts lend them: captures on the
// frozen desktop, printing, the timer dialog, the hotkey setup dialog on
// the live table, the shortcut routine and the help document.
#pragma once

#include <functional>

namespace vistrel {

class IPrinters;
class THotKeys;
class TMainForm1;
struct TPictureServices;
}  // namespace vistrel
class QWidget;
namespace vistrel {

// The hotkey setup dialog, modal, centred over `over` (the screen when null).
void OpenHotKeySetup(THotKeys& hotkeys, QWidget* over);

// `hotkeys` and `printers` must outlive every picture window.
void LendPictureWindowServices(TPictureServices& services, THotKeys& hotkeys, IPrinters& printers,
                               std::function<void(TMainForm1&)> timer_setup);

}  // namespace vistrel
