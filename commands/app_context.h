// What a picture window and the capture pipeline take from the resident
// program: its command set, the tray group of the settings, the desktop
// services and whether the capture timer runs. The tray form owns all of it.
#pragma once

#include <functional>

namespace vistrel {

class TActionList1;
struct TrayOptions;
struct TPlatform;
class IBeeper;

struct TAppContext {
  TActionList1& commands;
  TrayOptions& tray;      // shared with every picture window (nine keys written on close)
  TPlatform& platform;    // screen, cursor, windows, hotkeys, sound
  IBeeper& beeper;
  std::function<bool()> capture_timer_running;
};

}  // namespace vistrel
