// The frozen-desktop selection window: the whole desktop, grabbed at the
// moment the window is made, under a rectangle the user drags, moves,
// resizes or picks from the right-button menu. Taking the selection keeps
// its pixels for the caller, or, while the custom capture rectangle is
// being defined, makes it that rectangle.
#pragma once

#include <QSize>
#include <optional>
#include <string>

#include "capture/forms/TFrozenDesktopView.h"
#include "capture/forms/output_views.h"
#include "capture/forms/overlay_window.h"

class QAction;
class QMenu;

namespace vistrel {

struct TAppContext;

class TFullRectForm1 : public TOverlayWindow {
  Q_OBJECT

 public:
  // `custom_preset`: the fifth preset rectangle (CustomW x CustomH).
  TFullRectForm1(TAppContext& context, QSize custom_preset);

  // Places the window over the virtual desktop and freezes the desktop,
  // confined to the capture bounds, into the view. `desktop_grab`, when
  // given, is a grab of that very area made a moment ago for this capture;
  // it is taken instead of grabbing the screen again. False when the
  // screen could not be read (GrabFailure says why): the window is then
  // not to be shown.
  bool FormCreate(const TPictureBitmap* desktop_grab = nullptr);
  const std::string& GrabFailure() const { return grab_failure_; }
  // Shows a stored screen rectangle as the selection, as far as it lies on
  // the frozen picture.
  void Preselect(const TScreenRect& rect);
  // Keeps or stores the selection, if there is one, and closes.
  void TakeSelection();
  // The pixels of the selection taken; nothing when the user left without
  // one or the custom capture rectangle was defined.
  const std::optional<TPictureBitmap>& Taken() const { return taken_; }
  // Rectangles presets; the desktop-sized one.
  void PresetClick(int width, int height);
  void DesktopSize1Click();

  // Where on the screen the frozen picture's top-left pixel was.
  TScreenRect FrozenRect() const { return frozen_; }

  TFrozenDesktopView* const PictureView1;
  QMenu* PopupMenu1() const { return popup_menu1_; }
  QMenu* Rectangles1() const { return rectangles1_; }
  QAction* CropSelection1() const { return crop_selection1_; }

 protected:
  // Enter and Esc take; Shift shows the magnifier while it is held.
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void BuildPopupMenu(QSize custom_preset);
  void ConnectView(TFrozenDesktopView& view);
  // Also for the views on further outputs.
  void PictureView1MouseDown(Qt::MouseButton button);
  void PictureView1MouseUp(Qt::MouseButton button);
  void PictureView1SelectionChange();

  TAppContext& context_;
  TOutputViews outputs_;
  TScreenRect frozen_;
  std::string grab_failure_;
  std::optional<TPictureBitmap> taken_;
  QMenu* popup_menu1_ = nullptr;
  QMenu* rectangles1_ = nullptr;
  QAction* crop_selection1_ = nullptr;
};

}  // namespace vistrel
