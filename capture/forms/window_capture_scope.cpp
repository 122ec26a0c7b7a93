#include "capture/forms/window_capture_scope.h"

#include <QToolBar>

#include "capture/capture_state.h"
#include "picture/TMainForm1.h"
#include "picture/picture_state.h"

namespace vistrel {

TWindowCaptureScope::TWindowCaptureScope(TMainForm1& window) : window_(window) {
  PictureBusy = true;
  window_.PictureView1->ClearSelection();
}

TWindowCaptureScope::~TWindowCaptureScope() {
  PictureBusy = false;
  DefineRectMode = false;
  window_.show();
  window_.ToolBar1()->repaint();
}

}  // namespace vistrel
