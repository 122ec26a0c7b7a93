#include "capture/forms/object_picking.h"

#include <QApplication>

#include "picture/app_context.h"
#include "capture/area_rects.h"
#include "capture/forms/TObjectForm1.h"
#include "capture/forms/area_selection.h"
#include "capture/forms/window_capture_scope.h"
#include "imaging/operations/picture_area.h"
#include "picture/TMainForm1.h"
#include "platform/platform.h"

namespace vistrel {

namespace {
constexpr int kObjectWaitMs = 700;
}  // namespace

void PickObjectIntoPicture(TMainForm1& window) {
  TWindowCaptureScope scope(window);
  window.UndoStack1.PushUndo(window.PictureView1->Picture(), "PickObject");
  window.hide();
  WaitForDesktop(kObjectWaitMs);
  QApplication::processEvents();

  TObjectForm1 form(window.Context());
  form.FormCreate();
  form.ShowModal();
  // The overlay is gone from the screen before the window under the pointer
  // is asked for.
  QApplication::processEvents();
  const std::optional<TPointedWindow> pointed =
      window.Context().platform.windows->WindowUnderPointer();
  // A window gone meanwhile leaves the picture as it was.
  if (!pointed) return;
  // Windows that were covered by the overlay repaint late; the frozen
  // picture holds them as they were pointed at.
  const std::optional<TPictureRect> part =
      FrozenPartOfWindow(pointed->rect, window.Context().capture.CaptureBounds, form.FrozenRect());
  if (!part) return;
  window.PictureView1->Picture() = CopyArea(form.Image1->Picture(), *part);
  window.PictureView1->ImageChanged();
}

}  // namespace vistrel
