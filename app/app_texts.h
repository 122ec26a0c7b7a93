// Names and texts of the application shell, spelled as the program shows
// them and as other copies look for them.
#pragma once

#include "program_info.h"

namespace vistrel::texts {

inline constexpr const char* kApplicationTitle = "Vistrel-Pro";
inline constexpr const char* kVersion = VISTREL_VERSION;
inline constexpr const char* kTrayFormCaption = "Vistrel-Pro-" VISTREL_VERSION;
inline constexpr const char* kGuardName = "Vistrel_pro";
// Titles closed before anything else: an old release, then a running copy
// (which answers to its application title without regard to case).
inline constexpr const char* kOldReleaseTitle = "Vistrel 2000";
inline constexpr const char* kRunningCopyTitle = "Vistrel-pro";
// The title "/C" and "/U" send their extra close request to.
inline constexpr const char* kSwitchCloseTitle = "Vistrel-Pro-" VISTREL_VERSION_DIGITS;
inline constexpr const char* kTrayTooltip = " Vistrel-Pro v" VISTREL_VERSION;
inline constexpr const char* kTrayMenuBanner = "           Vistrel-Pro v" VISTREL_VERSION;
// Said once when the desktop shows no tray: the program goes on without it.
inline constexpr const char* kNoTraySummary = "Vistrel-Pro runs without a tray icon";
inline constexpr const char* kNoTrayBody =
    "This desktop shows no notification area (system tray), so Vistrel-Pro has no tray "
    "icon and menu. It keeps running: its hotkeys and the command line capture, for "
    "example \"vistrel-pro --capture area\"; \"vistrel-pro /C\" ends it.";

}  // namespace vistrel::texts
