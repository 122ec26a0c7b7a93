#include "capture/forms/area_selection.h"

#include <QApplication>
#include <QThread>

#include "capture/forms/TFullRectForm1.h"
#include "capture/forms/window_capture_scope.h"
#include "picture/app_context.h"
#include "picture/TMainForm1.h"
#include "picture/capture_failure.h"

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
                                                        std::string& failure,
                                                        const std::optional<TScreenRect>& preselect,
                                                        const TPictureBitmap* desktop_grab) {
  TFullRectForm1 form(context, custom_preset);
  if (!form.FormCreate(desktop_grab)) {
    failure = form.GrabFailure();
    return std::nullopt;
  }
  if (preselect) form.Preselect(*preselect);
  form.ShowModal();
  return form.Taken();
}

void SelectAreaIntoPicture(TMainForm1& window) {
  std::string failure;
  {
    TWindowCaptureScope scope(window);
    window.Document().PushUndo("SelectArea");
    window.hide();
    WaitForDesktop(kAreaWaitMs);
    if (std::optional<TPictureBitmap> taken =
            SelectAreaOnFrozenDesktop(window.Context(), CustomPreset(window), failure)) {
      window.Document().Picture() = std::move(*taken);
      window.PictureView1->ImageChanged();
    }
  }
  // Told once the window is back on the screen.
  if (!failure.empty()) ShowCaptureFailure(&window, failure);
}

void DefineCaptureRectangle(TMainForm1& window) {
  std::string failure;
  {
    TWindowCaptureScope scope(window);
    window.Context().capture.DefineRectMode = true;
    window.hide();
    WaitForDesktop(kAreaWaitMs);
    SelectAreaOnFrozenDesktop(window.Context(), CustomPreset(window), failure,
                              window.Context().capture.CustomCaptureRect);
  }
  if (!failure.empty()) ShowCaptureFailure(&window, failure);
}

}  // namespace vistrel
