// The capture driver: carries out one capture request from the settings to
// the grab, the choice on the frozen desktop and what becomes of the
// picture, and keeps track of the one picture window that may exist.
#pragma once

#include <QPointer>

#include "capture/capture_request.h"
#include "picture/TMainForm1.h"
#include "settings/other_options.h"

namespace vistrel {

struct TAppContext;

class TCapturePipeline {
 public:
  // Everything it needs is in `context`: the tray form's, or one that a
  // process without a tray builds.
  explicit TCapturePipeline(TAppContext& context) : context_(context) {}

  // Settings, bounds, sound, grab; for Area and Object the choice on the
  // frozen desktop; then what the request asks. A picture that is only
  // shown goes into the picture window, whose first paint applies the
  // stored picture options and the automatic copy. Otherwise they run on
  // the grabbed picture itself, then the save and the print (by the print
  // dialog alone); a picture window is made only to show the picture when
  // asked or when printing failed (a capture is never lost; the command
  // line hears of the failure instead). The caller has found
  // CaptureIdle true and set it false, and sets it back.
  TCaptureOutcome RunCaptureRequest(const TCaptureRequest& request);

  // The open picture window, if any.
  TMainForm1* PictureWindow() const { return window_; }

  // A hotkey or "Open ..." while a capture runs: a minimised picture window
  // comes back at its remembered place; anything else is dropped.
  void RestoreMinimisedWindow();

 private:
  class WindowScope;
  // The choice on the frozen desktop; nothing when none was made, or when
  // the desktop could not be read again (`failure` says why).
  std::optional<TPictureBitmap> ChooseOnFrozenDesktop(const TCaptureRequest& request,
                                                      const PictureWindowOptions& stored,
                                                      const TPictureBitmap& grab,
                                                      std::string& failure);
  TCaptureOutcome RunUnattended(const TCaptureRequest& request,
                                const PictureWindowOptions& stored, TPictureBitmap picture);
  void ApplyStoredAdjustments(TPictureBitmap& picture, const PictureWindowOptions& stored);
  // Prints the picture without a window; false (and `outcome` failed) when
  // it was not printed.
  bool Print(const TCaptureRequest& request, const PictureWindowOptions& stored,
             TPictureBitmap& picture, TCaptureOutcome& outcome);

  TAppContext& context_;
  QPointer<TMainForm1> window_;
};

}  // namespace vistrel
