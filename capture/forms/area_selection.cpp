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

}  // namespace

void WaitForDesktop(int ms) {
  QApplication::processEvents();
  QThread::msleep(ms);
}

void RunAreaSelection(TMainForm1& window, const std::optional<TScreenRect>& preselect,
                      const TPictureBitmap* desktop_grab) {
  TFullRectForm1 form(window);
  form.FormCreate(desktop_grab);
  if (preselect) form.Preselect(*preselect);
  form.ShowModal();
}

void SelectAreaIntoPicture(TMainForm1& window) {
  TWindowCaptureScope scope(window);
  window.UndoStack1.PushUndo(window.PictureView1->Picture(), "SelectArea");
  window.hide();
  WaitForDesktop(kAreaWaitMs);
  RunAreaSelection(window);
}

void DefineCaptureRectangle(TMainForm1& window) {
  TWindowCaptureScope scope(window);
  window.Context().capture.DefineRectMode = true;
  window.hide();
  WaitForDesktop(kAreaWaitMs);
  RunAreaSelection(window, window.Context().capture.CustomCaptureRect);
}

}  // namespace vistrel
