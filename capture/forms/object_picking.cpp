#include "capture/forms/object_picking.h"

#include <QApplication>

#include "picture/app_context.h"
#include "capture/area_rects.h"
#include "capture/grab_for_request.h"
#include "capture/forms/TObjectForm1.h"
#include "capture/forms/area_selection.h"
#include "capture/forms/window_capture_scope.h"
#include "imaging/operations/picture_area.h"
#include "picture/TMainForm1.h"
#include "picture/capture_failure.h"
#include "platform/platform.h"

namespace vistrel {

namespace {
constexpr int kObjectWaitMs = 700;
}  // namespace

std::optional<TPictureBitmap> PickObjectOnFrozenDesktop(TAppContext& context,
                                                        std::string& failure) {
  IWindowSource& windows = *context.platform.windows;
  if (windows.PicksInteractively()) return PickFromDesktop(windows, failure);
  TObjectForm1 form(context);
  if (!form.FormCreate()) {
    failure = form.GrabFailure();
    return std::nullopt;
  }
  form.ShowModal();
  // The overlay is gone from the screen before the window under the pointer
  // is asked for.
  QApplication::processEvents();
  const std::optional<TPointedWindow> pointed = form.PointedWindow();
  if (!pointed) return std::nullopt;
  // Windows that were covered by the overlay repaint late; the frozen
  // picture holds them as they were pointed at.
  const std::optional<TPictureRect> part =
      FrozenPartOfWindow(pointed->rect, context.capture.CaptureBounds, form.FrozenRect());
  if (!part) return std::nullopt;
  return CopyArea(form.Image1->Picture(), *part);
}

void PickObjectIntoPicture(TMainForm1& window) {
  std::string failure;
  {
    TWindowCaptureScope scope(window);
    window.Document().PushUndo("PickObject");
    window.hide();
    WaitForDesktop(kObjectWaitMs);
    QApplication::processEvents();
    // A window gone meanwhile leaves the picture as it was.
    if (std::optional<TPictureBitmap> picked =
            PickObjectOnFrozenDesktop(window.Context(), failure)) {
      window.Document().Picture() = std::move(*picked);
      window.PictureView1->ImageChanged();
    }
  }
  // Told once the window is back on the screen.
  if (!failure.empty()) ShowCaptureFailure(&window, failure);
}

}  // namespace vistrel
