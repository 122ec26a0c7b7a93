// What the two frozen-desktop windows share: a borderless window above
// everything (also above panels, with or without a window manager) over the
// whole virtual desktop, that holds the keyboard while it is shown and runs
// its own loop until it closes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/screen_rect.h"

class QEventLoop;

namespace vistrel {

class TOverlayWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TOverlayWindow(QWidget* parent = nullptr);

  // Covers `desktop` (device pixels) from its real corner.
  void PlaceOver(const TScreenRect& desktop);
  // Fills the output `monitor` (device pixels) alone, full screen: where a
  // window cannot span outputs (Wayland).
  void PlaceOnOutput(const TScreenRect& monitor);
  // Shown, and closed, together with this window.
  void AddCompanion(TOverlayWindow* window);
  // Shows the window and returns when it has been closed.
  void ShowModal();
  // A menu of its own needs the keyboard while it is open.
  void ReleaseKeyboardGrab();
  void TakeKeyboardGrab();

  // True where each output needs a frozen-desktop window of its own.
  static bool OnePerOutput();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void TryKeyboardGrab(int attempts_left);

  void ShowPlaced();

  QEventLoop* loop_ = nullptr;
  bool full_screen_ = false;
  std::vector<QPointer<TOverlayWindow>> companions_;
  bool keyboard_wanted_ = false;
};

}  // namespace vistrel
