#include "capture/forms/request_grab.h"

#include "capture/grab_for_request.h"
#include "commands/TActionList1.h"
#include "commands/command_table.h"
#include "commands/option_defaults.h"
#include "picture/app_context.h"
#include "platform/capture_bounds.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace vistrel {

namespace {

bool AsSet(TAsSet asked, bool checked) {
  return asked == TAsSet::Stored ? checked : asked == TAsSet::On;
}

}  // namespace

PictureWindowOptions LoadCaptureSettings(TAppContext& context) {
  PictureWindowOptions stored;
  {
    SettingsStore store;
    stored = PictureWindowOptions::Load(store, CurrentOptionDefaults());
  }
  context.commands.LoadChecks(stored);
  TMonitorsChoice choice;
  for (std::size_t i = 0; i < choice.size(); ++i) choice[i] = stored.Monitor[i];
  ApplyMonitorsChoice(context.capture.CaptureBounds, *context.platform.screen, choice);
  context.capture.CustomCaptureRect = {stored.CustomLeft, stored.CustomTop, stored.CustomRight,
                                       stored.CustomBottom};
  return stored;
}

bool DrawsCursor(const TAppContext& context, const TCaptureRequest& request) {
  return AsSet(request.cursor, context.commands.Checked(cmd::kIncludeCursor));
}

TPictureBitmap GrabForCaptureRequest(TAppContext& context, const TCaptureRequest& request,
                                     std::string* failure, bool* cancelled) {
  TPlatform& platform = context.platform;
  const TGrabServices services{*platform.screen, *platform.cursor, *platform.windows,
                               *platform.sound, context.beeper};
  TGrabOptions options;
  options.sound = AsSet(request.sound, context.commands.Checked(cmd::kSound));
  options.include_cursor = DrawsCursor(context, request);
  options.client_area_only =
      request.client_area_as_set && context.commands.Checked(cmd::kClientAreaOnly);
  options.capture_timer_running = context.capture_timer_running && context.capture_timer_running();
  options.monitor = request.monitor;
  const TCaptureArea area = FirstGrabArea(request, platform.windows->PicksInteractively());
  TPictureBitmap picture;
  GrabForRequest(services, area, context.capture.CaptureBounds, context.capture.CustomCaptureRect,
                 options, picture, failure, cancelled);
  return picture;
}

}  // namespace vistrel
