// The tray form's capture driver: turns the pending capture request into a
// picture window that is shown, printed or saved, and keeps track of the
// one picture window that may exist.
#pragma once

#include <QPointer>

#include "picture/TMainForm1.h"

namespace vistrel {

struct TAppContext;

class TCapturePipeline {
 public:
  explicit TCapturePipeline(TAppContext& context) : context_(context) {}

  // Runs one capture in the mode of CaptureState().CaptureRequest. The
  // caller has found CaptureIdle true and set it false, and sets it back.
  void RunCaptureRequest();

  // "Open ...": a fresh desktop grab shown in the picture window.
  void OpenPictureWindow();

  // One tick of the capture timer: a desktop grab (the custom capture
  // rectangle), saved without showing, printing or copying.
  void RunTimedCapture();

  // The open picture window, if any.
  TMainForm1* PictureWindow() const { return window_; }

  // A hotkey or "Open ..." while a capture runs: a minimised picture window
  // comes back at its remembered place; anything else is dropped.
  void RestoreMinimisedWindow();

 private:
  class WindowScope;
  void ShowModal();
  void RunAutomaticActions();
  void SaveUnattended();

  TAppContext& context_;
  QPointer<TMainForm1> window_;
};

}  // namespace vistrel
