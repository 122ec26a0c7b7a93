#include "capture/forms/capture_hooks.h"

#include <algorithm>

#include "picture/app_context.h"
#include "commands/error_guard.h"
#include "capture/forms/TRectForm1.h"
#include "capture/forms/area_selection.h"
#include "capture/forms/dialog_placement.h"
#include "capture/forms/object_picking.h"
#include "picture/picture_services.h"
#include "picture/TMainForm1.h"

namespace vistrel {

namespace {

void DefineRectangleSize(TMainForm1& window) {
  const TPictureView& view = *window.PictureView1;
  TRectForm1 dialog(window.Options(), window.Context().beeper, view.VisibleExtentX(),
                    view.VisibleExtentY(), &window);
  CentreOver(dialog, window);
  dialog.exec();
}

// The window's buttons reach these without a guard of their own.
template <void (*Capture)(TMainForm1&)>
void GuardedCapture(TMainForm1& window) {
  RunGuarded([&window] { Capture(window); });
}

}  // namespace

void LendCaptures(TPictureServices& hooks) {
  hooks.SelectAreaIntoPicture = GuardedCapture<SelectAreaIntoPicture>;
  hooks.DefineCaptureRectangle = GuardedCapture<DefineCaptureRectangle>;
  hooks.PickObjectIntoPicture = GuardedCapture<PickObjectIntoPicture>;
  hooks.DefineRectangleSize = DefineRectangleSize;
}

}  // namespace vistrel
