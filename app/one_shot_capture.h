// A command-line capture when no copy of the program runs: this process
// captures and ends, without tray, hotkeys or a settings write of its own.
#pragma once

#include "capture/capture_request.h"

namespace vistrel {

// Carries out `request` and writes the reply line (capture_channel.h) to
// `report_fd`. A picture put on the clipboard lives in this process: it
// stays, detached from the terminal, until another program takes the
// clipboard. Returns the exit code.
int RunOneShotCapture(int argc, char** argv, const TCaptureRequest& request, int report_fd);

}  // namespace vistrel
