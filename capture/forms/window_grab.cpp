#include "capture/forms/window_grab.h"

#include "capture/grab_for_request.h"
#include "commands/TActionList1.h"
#include "commands/command_table.h"
#include "commands/option_defaults.h"
#include "picture/app_context.h"
#include "platform/capture_bounds.h"
#include "platform/platform.h"
#include "settings/other_options.h"
#include "settings/settings_store.h"

namespace vistrel {

TPictureBitmap GrabForNewWindow(TAppContext& context, TCaptureMode mode) {
  PictureWindowOptions stored;
  {
    SettingsStore store;
    stored = PictureWindowOptions::Load(store, CurrentOptionDefaults());
  }
  // The option commands (sound, cursor, client area) as the window will
  // show them.
  context.commands.LoadChecks(stored);
  TMonitorsChoice choice;
  for (std::size_t i = 0; i < choice.size(); ++i) choice[i] = stored.Monitor[i];
  ApplyMonitorsChoice(context.capture.CaptureBounds, *context.platform.screen, choice);
  context.capture.CustomCaptureRect = {stored.CustomLeft, stored.CustomTop, stored.CustomRight,
                                       stored.CustomBottom};

  TPlatform& platform = context.platform;
  const TGrabServices services{*platform.screen, *platform.cursor, *platform.windows,
                               *platform.sound, context.beeper};
  TGrabOptions options;
  options.sound = context.commands.Checked(cmd::kSound);
  options.include_cursor = context.commands.Checked(cmd::kIncludeCursor);
  options.client_area_only = context.commands.Checked(cmd::kClientAreaOnly);
  options.capture_timer_running = context.capture_timer_running && context.capture_timer_running();
  TPictureBitmap picture;
  GrabForRequest(services, mode, context.capture.CaptureBounds, context.capture.CustomCaptureRect,
                 options, picture);
  return picture;
}

}  // namespace vistrel
