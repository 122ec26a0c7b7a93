#include "capture/forms/output_views.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "capture/overlay_marks.h"

namespace vistrel {

namespace {

// Another output's window: its keys are the form's keys.
class TOutputWindow : public TOverlayWindow {
 public:
  TOutputWindow(TOverlayWindow& form) : TOverlayWindow(&form), form_(form) {
    setWindowFlags(windowFlags() | Qt::Window);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override { QCoreApplication::sendEvent(&form_, event); }
  void keyReleaseEvent(QKeyEvent* event) override { QCoreApplication::sendEvent(&form_, event); }

 private:
  TOverlayWindow& form_;
};

}  // namespace

TOutputViews::TOutputViews(TOverlayWindow& form, TFrozenDesktopView& view)
    : form_(form), view_(view) {}

void TOutputViews::Place(const std::vector<TMonitor>& monitors,
                         const std::function<void(TFrozenDesktopView&)>& prepare) {
  views_.clear();
  per_output_ = TOverlayWindow::OnePerOutput() && !monitors.empty();
  if (!per_output_) {
    const TScreenRect desktop = VirtualDesktopRect(monitors);
    form_.PlaceOver(desktop);
    views_.emplace_back(&view_, desktop);
  } else {
    form_.PlaceOnOutput(monitors.front().rect);
    views_.emplace_back(&view_, monitors.front().rect);
    for (std::size_t i = 1; i < monitors.size(); ++i) {
      auto* window = new TOutputWindow(form_);
      auto* view = new TFrozenDesktopView(window);
      auto* layout = new QVBoxLayout(window);
      layout->setContentsMargins(0, 0, 0, 0);
      layout->addWidget(view);
      window->PlaceOnOutput(monitors[i].rect);
      form_.AddCompanion(window);
      prepare(*view);
      views_.emplace_back(view, monitors[i].rect);
    }
  }
  for (const auto& [view, area] : views_) {
    view->SetScreenOrigin(QPoint(area.left, area.top));
    view->SetMonitors(MonitorsOnOverlay(monitors, area));
    if (views_.size() > 1)
      QObject::connect(view, &TFrozenDesktopView::OnSelectionShown, view,
                       [this, view = view] { Share(*view); });
  }
}

void TOutputViews::ShowPicture(const TScreenRect& frozen) {
  if (!per_output_) return;
  for (const auto& [view, area] : views_) {
    if (view != &view_) {
      view->Picture() = view_.Picture();
      view->SetPictureScreenOrigin(QPoint(frozen.left, frozen.top));
      view->PictureChanged();
    }
    // Each output shows the pixels grabbed from it, where they were.
    view->SetPictureOffset(QPoint(frozen.left - area.left, frozen.top - area.top));
  }
}

void TOutputViews::Share(const TFrozenDesktopView& from) {
  for (const auto& placed : views_)
    if (placed.first != &from) placed.first->ShareSelectionOf(from);
}

}  // namespace vistrel
