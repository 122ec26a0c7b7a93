// What the two frozen-desktop windows share: a borderless window above
// everything (also above panels, with or without a window manager) over the
// whole virtual desktop, that holds the keyboard while it is shown and runs
// its own loop until it closes.
#pragma once

#include <QWidget>

#include "platform/screen_rect.h"

class QEventLoop;

namespace vistrel {

class TOverlayWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TOverlayWindow(QWidget* parent = nullptr);

  // Covers `desktop` (device pixels) from its real corner.
  void PlaceOver(const TScreenRect& desktop);
  // Shows the window and returns when it has been closed.
  void ShowModal();
  // A menu of its own needs the keyboard while it is open.
  void ReleaseKeyboardGrab();
  void TakeKeyboardGrab();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void TryKeyboardGrab(int attempts_left);

  QEventLoop* loop_ = nullptr;
  bool keyboard_wanted_ = false;
};

}  // namespace vistrel
