// Hands the picture window the captures and dialogs of the capture part.
#pragma once

namespace vistrel {

// Called once at start, before the first picture window exists.
void InstallCaptureHooks();

}  // namespace vistrel
