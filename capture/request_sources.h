// The capture each hotkey, tray item and timer tick asks for, as a request
// value for RunCaptureRequest.
#pragma once

#include <optional>

#include "capture/capture_request.h"

namespace vistrel {

// Hotkey ids 1000..1005 (the capture modes); nothing for any other id.
// With "Direct Printing" on, "Get Desktop" and "Get Active Window" print
// instead of showing.
std::optional<TCaptureRequest> RequestForHotkey(int id, bool direct_printing);

// "Open ..." and the double-click on the tray icon: the desktop, shown.
TCaptureRequest RequestForOpen();

// "Print the Desktop": the desktop printed, whatever "Direct Printing" says.
TCaptureRequest RequestForPrintDesktop();

// "Get Rectangular Area": as its hotkey.
TCaptureRequest RequestForRectangularArea();

// One tick of the capture timer: the custom capture rectangle saved, never
// shown, printed or copied.
TCaptureRequest RequestForTimerTick();

}  // namespace vistrel
