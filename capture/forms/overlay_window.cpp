#include "capture/forms/overlay_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "platform/qt/device_pointer.h"

namespace vistrel {

namespace {

constexpr int kGrabAttempts = 50;
constexpr int kGrabRetryMs = 20;

// Qt places screens in logical pixels: a screen keeps its corner and scales
// its extent by its own ratio.
QScreen* ScreenAt(QPoint device) {
  QScreen* chosen = QGuiApplication::primaryScreen();
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    const QRect native(g.topLeft(), g.size() * screen->devicePixelRatio());
    if (native.contains(device)) chosen = screen;
  }
  return chosen;
}

QPointF LogicalPoint(QPoint device) {
  QScreen* chosen = ScreenAt(device);
  if (!chosen) return device;
  const QPoint corner = chosen->geometry().topLeft();
  return QPointF(corner) + QPointF(device - corner) / chosen->devicePixelRatio();
}

}  // namespace

TOverlayWindow::TOverlayWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::X11BypassWindowManagerHint) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  TDevicePointer::Install();
}

void TOverlayWindow::PlaceOver(const TScreenRect& desktop) {
  const QPointF corner = LogicalPoint(QPoint(desktop.left, desktop.top));
  const QPointF far = LogicalPoint(QPoint(desktop.right, desktop.bottom));
  const QPoint top_left(int(std::floor(corner.x())), int(std::floor(corner.y())));
  setGeometry(QRect(top_left, QPoint(int(std::ceil(far.x())), int(std::ceil(far.y())))).adjusted(0, 0, -1, -1));
}

void TOverlayWindow::PlaceOnOutput(const TScreenRect& monitor) {
  PlaceOver(monitor);
  if (QScreen* screen = ScreenAt(QPoint(monitor.left, monitor.top))) {
    setScreen(screen);
    // The compositor puts a full-screen window on the output it is asked
    // for, and nowhere else.
    full_screen_ = true;
  }
}

void TOverlayWindow::AddCompanion(TOverlayWindow* window) { companions_.push_back(window); }

bool TOverlayWindow::OnePerOutput() {
  return QGuiApplication::platformName().startsWith("wayland");
}

void TOverlayWindow::ShowPlaced() {
  if (full_screen_)
    showFullScreen();
  else
    show();
}

void TOverlayWindow::ShowModal() {
  for (TOverlayWindow* companion : companions_)
    if (companion) companion->ShowPlaced();
  ShowPlaced();
  if (!isVisible()) return;
  QEventLoop loop;
  loop_ = &loop;
  loop.exec();
  loop_ = nullptr;
  ReleaseKeyboardGrab();
}

void TOverlayWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  raise();
  activateWindow();
  TakeKeyboardGrab();
}

void TOverlayWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  ReleaseKeyboardGrab();
  for (TOverlayWindow* companion : companions_)
    if (companion) companion->close();
  if (loop_) loop_->quit();
}

void TOverlayWindow::ReleaseKeyboardGrab() {
  keyboard_wanted_ = false;
  releaseKeyboard();
}

void TOverlayWindow::TakeKeyboardGrab() {
  keyboard_wanted_ = true;
  TryKeyboardGrab(kGrabAttempts);
}

void TOverlayWindow::TryKeyboardGrab(int attempts_left) {
  if (!keyboard_wanted_ || !isVisible()) return;
  // Esc and Enter must reach the window although no window manager gives it
  // the focus; the grab fails until the window is on the screen.
  grabKeyboard();
  // Only a desktop with grabs (X11) needs them retried.
  if (QGuiApplication::platformName() != "xcb") return;
  QWindow* window = windowHandle();
  if (window && window->setKeyboardGrabEnabled(true)) return;
  if (attempts_left > 0)
    QTimer::singleShot(kGrabRetryMs, this, [this, attempts_left] { TryKeyboardGrab(attempts_left - 1); });
}

}  // namespace vistrel
