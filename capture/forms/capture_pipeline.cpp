#include "capture/forms/capture_pipeline.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "capture/forms/area_selection.h"
#include "capture/forms/object_picking.h"
#include "capture/forms/request_grab.h"
#include "capture/grab_for_request.h"
#include "commands/TActionList1.h"
#include "commands/command_table.h"
#include "commands/error_guard.h"
#include "imaging/picture_proc.h"
#include "imaging/picture_recipe.h"
#include "output/auto_save.h"
#include "picture/MainFormRules.h"
#include "picture/PictureViewImage.h"
#include "picture/app_context.h"
#include "picture/capture_failure.h"
#include "picture/picture_document.h"
#include "platform/platform.h"
#include "settings/picture_options.h"

namespace vistrel {

namespace {

using TStatus = TCaptureOutcome::TStatus;

// The whole picture, as the Copy command copies a picture without a
// selection.
void CopyPictureToClipboard(const TPictureBitmap& picture) {
  auto* mime = new QMimeData;
  mime->setImageData(PictureToImage(picture));
  QGuiApplication::clipboard()->setMimeData(mime);
}

}  // namespace

// Creates the picture window with the request's picture and destroys it,
// with its print setup dialog, however the request ends.
class TCapturePipeline::WindowScope {
 public:
  WindowScope(TCapturePipeline& owner, TPictureBitmap picture) : owner_(owner) {
    owner_.window_ = new TMainForm1(owner_.context_, std::move(picture));
  }
  ~WindowScope() {
    delete owner_.window_.data();
    owner_.window_ = nullptr;
  }

 private:
  TCapturePipeline& owner_;
};

TCaptureOutcome TCapturePipeline::RunCaptureRequest(const TCaptureRequest& request) {
  // A tray menu that was just used is gone from the screen before the grab.
  QApplication::processEvents();
  const PictureWindowOptions stored = LoadCaptureSettings(context_);
  if (request.area == TCaptureArea::Monitor) {
    const std::size_t count = context_.platform.screen->Monitors().size();
    if (request.monitor < 1 || std::size_t(request.monitor) > count)
      return {TStatus::Failed, {},
              "there is no monitor " + std::to_string(request.monitor) + " (the desktop has " +
                  std::to_string(count) + ")"};
  }
  const bool picks = context_.platform.windows->PicksInteractively();
  std::string failure;
  bool cancelled = false;
  TPictureBitmap picture = GrabForCaptureRequest(context_, request, &failure, &cancelled);
  if (failure.empty() && ChoosesOnFrozenDesktop(request, picks)) {
    std::optional<TPictureBitmap> chosen = ChooseOnFrozenDesktop(request, stored, picture, failure);
    if (chosen) {
      picture = std::move(*chosen);
    } else if (failure.empty() && PicksWhenUnselected(request, picks)) {
      TCaptureRequest unselected = request;
      unselected.area = *request.unselected;
      picture = GrabForCaptureRequest(context_, unselected, &failure, &cancelled);
    } else if (failure.empty() && !request.unselected) {
      return {TStatus::Cancelled, {}, "nothing was selected"};
    }
  }
  // A black picture would pass for a capture: the user hears why instead.
  if (!failure.empty()) {
    if (!request.caller_hears_outcome) ShowCaptureFailure(nullptr, failure);
    return {TStatus::Failed, {}, "the screen could not be captured: " + failure};
  }
  // Leaving the desktop's dialog is no error: nothing is shown or said.
  if (cancelled) return {TStatus::Cancelled, {}, "the desktop's window pick was cancelled"};
  if (!request.save && !request.clipboard && !request.print) {
    WindowScope scope(*this, std::move(picture));
    window_->ShowModal();
    return {};
  }
  return RunUnattended(request, stored, std::move(picture));
}

std::optional<TPictureBitmap> TCapturePipeline::ChooseOnFrozenDesktop(
    const TCaptureRequest& request, const PictureWindowOptions& stored,
    const TPictureBitmap& grab, std::string& failure) {
  if (request.area == TCaptureArea::Object) return PickObjectOnFrozenDesktop(context_, failure);
  // A desktop grab without a cursor drawn in is the frozen desktop already:
  // at 4K a second grab would hold the overlay back by a tenth of a second.
  const bool grab_is_desktop =
      request.unselected.value_or(TCaptureArea::Desktop) == TCaptureArea::Desktop &&
      !DrawsCursor(context_, request) &&
      !(context_.capture_timer_running && context_.capture_timer_running());
  return SelectAreaOnFrozenDesktop(context_, {stored.CustomW, stored.CustomH}, failure,
                                   std::nullopt, grab_is_desktop ? &grab : nullptr);
}

void TCapturePipeline::ApplyStoredAdjustments(TPictureBitmap& picture,
                                              const PictureWindowOptions& stored) {
  const TActionList1& commands = context_.commands;
  TBatchQuality quality{commands.Checked(cmd::kQualityRotate), TResampleFilter::rfNone};
  if (commands.Checked(cmd::kQualityZoom))
    quality.filter =
        ResampleFilterFromStored(stored.ResampleFilter).value_or(context_.picture.ResampleFilter);
  const TPictureRecipe recipe = PictureOptions::Load(SettingsStore());
  TPictureProc proc(picture);
  // A fault is reported as in the picture window; the capture goes on.
  RunGuarded([&] { ApplyPictureRecipe(recipe, quality, picture, proc); });
}

TCaptureOutcome TCapturePipeline::RunUnattended(const TCaptureRequest& request,
                                                const PictureWindowOptions& stored,
                                                TPictureBitmap picture) {
  QApplication::processEvents();
  ApplyStoredAdjustments(picture, stored);
  const TActionList1& commands = context_.commands;
  if (request.clipboard ||
      (request.clipboard_as_set && commands.Checked(cmd::kAutomaticToClipboard)))
    CopyPictureToClipboard(picture);

  TCaptureOutcome outcome;
  if (request.save) {
    const std::string path =
        UnattendedSavePath(context_.tray, request.save->path, request.save->folder);
    // The command line prints the path and hears of a failure; a folder
    // or file named there is the user's choice, written as any other file.
    const bool named = !request.save->path.empty() || !request.save->folder.empty();
    TUnattendedNotice notice;
    notice.info_popup = !request.caller_hears_outcome && commands.Checked(cmd::kShowInfoMessage);
    notice.error_box = !request.caller_hears_outcome;
    notice.access = named ? TSaveAccess::kAsUmask : TSaveAccess::kPrivateWhereShared;
    std::string error;
    if (SaveUnattended(picture, StoredWriterParameters(stored), path, notice, error))
      outcome.path = path;
    else
      outcome = {TStatus::Failed, {}, "the picture could not be saved as " + path + " (" + error + ")"};
  }

  bool show = request.show;
  if (request.print && !Print(request, stored, picture, outcome)) {
    // Without printing in the program, or when the printer did not take
    // the picture, it is shown: a capture is never lost. The command line
    // hears of it instead.
    show = show || !request.caller_hears_outcome;
  }
  if (!show) return outcome;
  WindowScope scope(*this, std::move(picture));
  context_.picture.FirstPaintPending = false;  // its options and copy are done already
  window_->ShowModal();
  return outcome;
}

bool TCapturePipeline::Print(const TCaptureRequest& request, const PictureWindowOptions& stored,
                             TPictureBitmap& picture, TCaptureOutcome& outcome) {
  std::string footer = stored.FooterText;
  std::string error = "printing is not available";
  bool printed = false;
  if (context_.services.PrintDocument) {
    error.clear();
    TPictureDocument document(std::move(picture));
    printed = context_.services.PrintDocument(context_, document, footer,
                                              request.caller_hears_outcome ? &error : nullptr);
    picture = std::move(document.Picture());
  }
  if (!printed && outcome.status == TStatus::Done)
    outcome = {TStatus::Failed, outcome.path,
               "the picture was not printed" + (error.empty() ? "" : ": " + error)};
  return printed;
}

void TCapturePipeline::RestoreMinimisedWindow() {
  if (window_ && window_->isMinimized()) window_->RestoreFromMinimised();
}

}  // namespace vistrel
