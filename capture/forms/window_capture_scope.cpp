#include "capture/forms/window_capture_scope.h"

#include <QToolBar>

#include "picture/app_context.h"
#include "picture/TMainForm1.h"

namespace vistrel {

TWindowCaptureScope::TWindowCaptureScope(TMainForm1& window)
    : window_(window), was_modified_(window.PictureModified()) {
  window_.Context().picture.PictureBusy = true;
  window_.PictureView1->ClearSelection();
}

TWindowCaptureScope::~TWindowCaptureScope() {
  window_.Context().picture.PictureBusy = false;
  window_.Context().capture.DefineRectMode = false;
  if (!was_modified_) window_.MarkPictureSaved();
  window_.show();
  window_.ToolBar1()->repaint();
}

}  // namespace vistrel
