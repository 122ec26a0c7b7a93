#include "capture/forms/area_selection.h"

#include <QApplication>
#include <QThread>

#include "capture/forms/TFullRectForm1.h"
#include "capture/forms/window_capture_scope.h"
#include "picture/app_context.h"
#include "picture/TMainForm1.h"

namespace vistrel {

namespace {

constexpr int kAreaWaitMs = 600;

QSize CustomPreset(const TMainForm1& window) {
  return {window.Options().CustomW, window.Options().CustomH};
}

}  // namespace

void WaitForDesktop(int ms) {
  QApplication::processEvents();
  QThread::msleep(ms);
}

std::optional<TPictureBitmap> SelectAreaOnFrozenDesktop(TAppContext& context, QSize custom_preset,
                                                        const std::optional<TScreenRect>& preselect,
                                                        const TPictureBitmap* desktop_grab) {
  TFullRectForm1 form(context, custom_preset);
  form.FormCreate(desktop_grab);
  if (preselect) form.Preselect(*preselect);
  form.ShowModal();
  return form.Taken();
}

void SelectAreaIntoPicture(TMainForm1& window) {
  TWindowCaptureScope scope(window);
  window.Document().PushUndo("SelectArea");
  window.hide();
  WaitForDesktop(kAreaWaitMs);
  if (std::optional<TPictureBitmap> taken =
          SelectAreaOnFrozenDesktop(window.Context(), CustomPreset(window))) {
    window.Document().Picture() = std::move(*taken);
    window.PictureView1->ImageChanged();
  }
}

void DefineCaptureRectangle(TMainForm1& window) {
  TWindowCaptureScope scope(window);
  window.Context().capture.DefineRectMode = true;
  window.hide();
  WaitForDesktop(kAreaWaitMs);
  SelectAreaOnFrozenDesktop(window.Context(), CustomPreset(window),
                            window.Context().capture.CustomCaptureRect);
}

}  // namespace vistrel
