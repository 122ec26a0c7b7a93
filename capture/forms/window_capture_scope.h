// The picture window's own captures leave the busy flags cleared and the
// window shown again however they end.
#pragma once

namespace vistrel {

class TMainForm1;

class TWindowCaptureScope {
 public:
  // Sets PictureBusy and removes the view's selection.
  explicit TWindowCaptureScope(TMainForm1& window);
  // Clears PictureBusy and DefineRectMode, shows the window again and
  // repaints its toolbar. A fresh capture is no edit: a picture that was
  // unmodified before stays so, though its undo entry was added.
  ~TWindowCaptureScope();
  TWindowCaptureScope(const TWindowCaptureScope&) = delete;
  TWindowCaptureScope& operator=(const TWindowCaptureScope&) = delete;

 private:
  TMainForm1& window_;
  const bool was_modified_;
};

}  // namespace vistrel
