// The object-picking overlay: the frozen desktop, each part at its own
// screen place, under a pointing cursor, with the part a click would take
// outlined. Any mouse button's release, or Esc, closes it; the caller then
// takes the window under the pointer.
#pragma once

#include <QTimer>
#include <optional>
#include <string>

#include "capture/forms/TFrozenDesktopView.h"
#include "capture/forms/output_views.h"
#include "capture/forms/overlay_window.h"
#include "platform/window_source.h"

namespace vistrel {

struct TAppContext;

class TObjectForm1 : public TOverlayWindow {
  Q_OBJECT

 public:
  static constexpr const char* kHint = "Select an object and press a mouse button";

  explicit TObjectForm1(TAppContext& context);

  // Places the window over the virtual desktop and freezes the desktop,
  // confined to the capture bounds, into the image. False when the screen
  // could not be read (GrabFailure says why): the window is then not to be
  // shown.
  bool FormCreate();
  const std::string& GrabFailure() const { return grab_failure_; }
  // Where on the screen the frozen picture's top-left pixel was.
  TScreenRect FrozenRect() const { return frozen_; }
  // The object at the pointer, where the form's views last saw it (the
  // click's own place once it has closed); where they saw nothing yet,
  // where the desktop says the pointer is.
  std::optional<TPointedWindow> PointedWindow() const;

  TFrozenDesktopView* const Image1;

 protected:
  // Esc leaves; Shift shows the magnifier while it is held.
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  // Outlines what the window under the pointer would give.
  void OutlinePointedWindow();

  // Sets up a view of the frozen desktop.
  void PrepareView(TFrozenDesktopView& view);

  TAppContext& context_;
  TOutputViews outputs_;
  TScreenRect frozen_;
  std::optional<QPoint> pointer_;
  std::string grab_failure_;
  // Asking the desktop for the window under the pointer takes round trips:
  // once per burst of pointer moves.
  QTimer outline_timer_;
};

}  // namespace vistrel
