// The picture window's fixture with helpers for the frozen-desktop windows:
// acting on a modal window once it is shown, and mouse events at exact
// device pixels of the frozen picture.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

#include "capture/forms/TFrozenDesktopView.h"
#include "tests/picture_window/window_fixture.h"

namespace vistrel::testing {

// The shown top-level window of type W, if any.
template <typename W>
W* ShownWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<W*>(widget); found && found->isVisible()) return found;
  return nullptr;
}

// Runs `act` on the window of type W as soon as it is shown (from inside
// the modal loop that shows it).
template <typename W>
void WhenShown(std::function<void(W&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (W* window = ShownWindow<W>()) {
      timer->stop();
      timer->deleteLater();
      act(*window);
    }
  });
  timer->start();
}

// A mouse event over a picture pixel of the view (its middle, in the
// logical coordinates Qt hands to widgets).
inline void MouseAt(TFrozenDesktopView& view, QEvent::Type type, QPoint picture_pixel,
                    Qt::MouseButton button, Qt::MouseButtons buttons,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPointF position = view.PositionOf(picture_pixel) + QPointF(0.4, 0.4) / view.devicePixelRatioF();
  QMouseEvent event(type, position, view.mapToGlobal(position), button, buttons, modifiers);
  QApplication::sendEvent(&view, &event);
}

inline void Drag(TFrozenDesktopView& view, QPoint from, QPoint to) {
  MouseAt(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  MouseAt(view, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
  MouseAt(view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  MouseAt(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// The desktop's pixels of a screen rectangle (right and bottom exclusive).
inline bool PictureShowsDesktop(const TPictureBitmap& picture, const TScreenRect& rect) {
  if (picture.Width() != rect.Width() || picture.Height() != rect.Height()) return false;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.Pixel(x, y) != DesktopColour(rect.left + x, rect.top + y)) return false;
  return true;
}

}  // namespace vistrel::testing
