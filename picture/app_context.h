// The one context of the running program: what the tray form, the capture
// pipeline and every picture window share. The program builds it once at
// start (app/) and hands it down; no part reaches another through a global.
#pragma once

#include <functional>
#include <utility>

#include "commands/process_flags.h"
#include "picture/picture_services.h"
#include "picture/picture_state.h"
#include "platform/screen_rect.h"

namespace vistrel {

class TActionList1;
struct TrayOptions;
struct TPlatform;
class IBeeper;

// The area every grab is confined to and the rectangle that desktop grabs
// take while the capture timer runs.
struct TCaptureRects {
  TScreenRect CaptureBounds;
  TScreenRect CustomCaptureRect;
  // Set only while the custom capture rectangle is being chosen on the
  // frozen desktop: the selection is stored, not copied.
  bool DefineRectMode = false;
};

struct TAppContext {
  TAppContext(TActionList1& commands, TrayOptions& tray, TPlatform& platform, IBeeper& beeper,
              std::function<bool()> capture_timer_running)
      : commands(commands),
        tray(tray),
        platform(platform),
        beeper(beeper),
        capture_timer_running(std::move(capture_timer_running)) {}

  TActionList1& commands;
  TrayOptions& tray;      // shared with every picture window (nine keys written on close)
  TPlatform& platform;    // screen, cursor, windows, hotkeys, sound
  IBeeper& beeper;
  std::function<bool()> capture_timer_running;

  TProcessFlags flags;
  TPictureState picture;
  TCaptureRects capture;
  // What the other parts lend the picture window; an empty one leaves its
  // step out and its button disabled.
  TPictureServices services;
};

}  // namespace vistrel
