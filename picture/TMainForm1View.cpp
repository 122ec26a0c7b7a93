// View modes, preset rectangles, the Monitors menu, window placement and the
// "Get picture of Vistrel-Pro" capture of the picture window.
#include <QMenu>
#include <algorithm>
#include <cmath>

#include "commands/TActionList1.h"
#include "commands/command_table.h"
#include "picture/app_context.h"
#include "picture/capture_failure.h"
#include "platform/capture_bounds.h"
#include "platform/screen_grab.h"
#include "picture/MainFormTexts.h"
#include "picture/TMainForm1.h"
#include "platform/platform.h"

namespace vistrel {

namespace tx = main_form_texts;

void TMainForm1::Close1Click() {
  if (context_.picture.PictureBusy || PictureView1->PaintLocked()) return;
  close();
}

// ---- view modes ------------------------------------------------------------

void TMainForm1::NormalView1Click() {
  PictureView1->ZoomAround(0, 0, 100);
  ScrollSelectionIntoCorner();
}

void TMainForm1::FitView1Click() {
  PictureView1->FitToWindow();
  ScrollSelectionIntoCorner();
}

void TMainForm1::UpdateZoomFilter() {
  // "Quality zoom" draws shrunk pictures through the chosen quality filter.
  PictureView1->SetZoomFilter(context_.commands.Checked(cmd::kQualityZoom) ? context_.picture.ResampleFilter
                                                                      : TResampleFilter::rfNone);
}

void TMainForm1::ScrollSelectionIntoCorner() {
  if (!PictureView1->HasSelection()) return;
  PictureView1->SetViewOrigin(0, 0);
  PictureView1->SetViewOrigin(PictureView1->PictureToScreenX(PictureView1->SelectionLeft()),
                              PictureView1->PictureToScreenY(PictureView1->SelectionTop()));
}

// ---- preset rectangles -----------------------------------------------------

TVisibleArea TMainForm1::VisiblePictureArea() const {
  const TPictureView& view = *PictureView1;
  const double zoom = view.ZoomPercent() / 100;
  TVisibleArea area;
  // The first pixel drawn at the left and top edges of the drawn picture.
  area.left = std::clamp(view.ScreenToPictureX(std::max(0, view.PictureToScreenX(0))), 0,
                         std::max(view.Picture().Width() - 1, 0));
  area.top = std::clamp(view.ScreenToPictureY(std::max(0, view.PictureToScreenY(0))), 0,
                        std::max(view.Picture().Height() - 1, 0));
  area.width = std::min(int(std::lround(view.VisibleExtentX() / zoom)),
                        view.Picture().Width() - area.left);
  area.height = std::min(int(std::lround(view.VisibleExtentY() / zoom)),
                         view.Picture().Height() - area.top);
  return area;
}

void TMainForm1::RectanglePresetClick(int width, int height) {
  if (PictureView1->Picture().Empty()) return;
  const TSelectionBox box = PresetRectangle(width, height, VisiblePictureArea());
  PictureView1->SelectRect(box.left, box.top, box.right, box.bottom);
  SetStatusText(1, SelectionSizeText(PictureView1->SelectionLeft(), PictureView1->SelectionTop(),
                                     PictureView1->SelectionRight(),
                                     PictureView1->SelectionBottom()));
  PictureView1->SetHint(tx::kPresetRectangleHint);
  PictureView1->viewport()->update();
  SetCutCropEnabled(true);
}

// ---- Monitors menu ---------------------------------------------------------

void TMainForm1::EnableMonitorsMenu() {
  const auto count = int(context_.platform.screen->Monitors().size());
  const TMonitorsMenuState state = MonitorsMenuEnabling(count);
  monitors_menu_->setEnabled(state.menu);
  monitors_menu_->menuAction()->setEnabled(state.menu);
  monitor_items_[0]->setEnabled(state.all_monitors);
  for (std::size_t i = 0; i < state.monitor.size(); ++i)
    monitor_items_[i + 1]->setEnabled(state.monitor[i]);
}

void TMainForm1::MonitorClick(int item) {
  // Every click sets the bounds, also one that removes the check mark.
  SetCaptureBounds(context_.capture.CaptureBounds, *context_.platform.screen, item - 1);
}

// ---- window placement ------------------------------------------------------

void TMainForm1::RestoreWindowToDefault() {
  const TWindowRect screen = PrimaryScreenRect();
  showNormal();
  ApplyWindowRect(DefaultWindowRect(screen.width, screen.height));
  update();
}

// ---- the desktop -----------------------------------------------------------

void TMainForm1::RefreshScreen1Click() {
  if (!context_.platform.refresh) return;
  context_.platform.refresh->RefreshScreen();
  repaint();
}

// ---- the window's own picture ----------------------------------------------

void TMainForm1::GetPictureOfVistrelClick() {
  // Blanked first, so that the window's own picture shows it blank; a grab
  // that fails or a pick that is left gives the picture back as it was.
  TPictureBitmap before = PictureView1->Picture();
  PictureView1->ClearPicture();
  IWindowSource& windows = *context_.platform.windows;
  std::string failure;
  bool taken = false;
  if (windows.PicksInteractively()) {
    // The desktop's dialog: the user picks this window there.
    TWindowPick pick = windows.PickWindow();
    taken = !pick.picture.Empty();
    if (taken) PictureView1->Picture() = std::move(pick.picture);
    if (!taken && !pick.cancelled) failure = pick.failure;
  } else {
    // The foreground window is the picture window itself, frame included.
    std::optional<TScreenRect> rect;
    if (const TWindowId active = windows.ActiveWindow()) rect = windows.OuterRect(active);
    if (!rect) {
      const QRect frame = frameGeometry();
      rect = TScreenRect{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1};
    }
    GrabScreenRect(*context_.platform.screen, context_.capture.CaptureBounds,
                   PictureView1->Picture(), *rect, &failure);
    taken = failure.empty();
  }
  if (!taken) PictureView1->Picture() = std::move(before);
  PictureView1->ImageChanged();
  if (!failure.empty()) ShowCaptureFailure(this, failure);
}

}  // namespace vistrel
