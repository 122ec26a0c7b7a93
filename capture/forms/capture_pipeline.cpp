#include "capture/forms/capture_pipeline.h"
#include "commands/command_table.h"

#include <QApplication>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "capture/capture_state.h"
#include "capture/forms/area_selection.h"
#include "capture/forms/window_grab.h"
#include "output/auto_save.h"
#include "picture/picture_services.h"

namespace vistrel {

namespace {
}  // namespace

// Creates the picture window (which grabs) and destroys it, with its print
// setup dialog, however the request ends.
class TCapturePipeline::WindowScope {
 public:
  explicit WindowScope(TCapturePipeline& owner) : owner_(owner) {
    owner_.window_ = new TMainForm1(
        owner_.context_, GrabForNewWindow(owner_.context_, CaptureState().CaptureRequest));
  }
  ~WindowScope() {
    delete owner_.window_.data();
    owner_.window_ = nullptr;
  }

 private:
  TCapturePipeline& owner_;
};

void TCapturePipeline::RunAutomaticActions() {
  QApplication::processEvents();
  window_->ApplyPictureOptions();
  if (context_.commands.Checked(cmd::kAutomaticToClipboard)) window_->Action5Execute();
}

void TCapturePipeline::SaveUnattended() {
  AutoSavePicture(window_->PictureView1->Picture(), window_->PictureIO1Params, context_.tray,
                  context_.commands.Checked(cmd::kShowInfoMessage), window_);
}

void TCapturePipeline::RunCaptureRequest() {
  // A tray menu that was just used is gone from the screen before the grab.
  QApplication::processEvents();
  const TCaptureMode mode = CaptureState().CaptureRequest;
  WindowScope scope(*this);
  switch (mode) {
    case cmDesktop:
    case cmActiveWindow:
      // Without printing in the program, or when the printer did not take
      // the picture, it is shown instead: a capture is never lost.
      if (context_.commands.Checked(cmd::kDirectPrinting) && context_.services.PrintPicture) {
        RunAutomaticActions();
        if (!window_->ToolButton11Click()) {
          context_.picture.FirstPaintPending = false;  // its options and clipboard copy are done already
          window_->ShowModal();
        }
      } else {
        window_->ShowModal();
      }
      break;
    case cmDesktopSave:
    case cmActiveWindowSave:
      RunAutomaticActions();
      SaveUnattended();
      break;
    case cmRectArea:
    case cmSpareSlot:
      // Without a selection the window keeps its own grab. A desktop grab
      // without a cursor drawn in is the frozen desktop already: at 4K a
      // second grab would hold the overlay back by a tenth of a second.
      RunAreaSelection(*window_, std::nullopt,
                       mode == cmRectArea && !context_.commands.Checked(cmd::kIncludeCursor) &&
                               !(context_.capture_timer_running && context_.capture_timer_running())
                           ? &window_->PictureView1->Picture()
                           : nullptr);
      window_->ShowModal();
      break;
  }
}

void TCapturePipeline::RunTimedCapture() {
  CaptureState().CaptureRequest = cmDesktop;
  WindowScope scope(*this);
  QApplication::processEvents();
  window_->ApplyPictureOptions();
  SaveUnattended();
}

void TCapturePipeline::OpenPictureWindow() {
  CaptureState().CaptureRequest = cmDesktop;
  WindowScope scope(*this);
  window_->ShowModal();
}

void TCapturePipeline::RestoreMinimisedWindow() {
  if (window_ && window_->isMinimized()) window_->RestoreFromMinimised();
}

}  // namespace vistrel
