// A shown 400 x 300 view without scroll bars holding a 200 x 100 picture, so
// the picture sits centred at client (100, 100), and mouse helpers that
// drive it the way the window system does.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "picture/TPictureView.h"

namespace vistrel {

class PictureViewTest : public testing::Test {
 protected:
  static constexpr int kOffX = 100;
  static constexpr int kOffY = 100;

  void SetUp() override {
    view = std::make_unique<TPictureView>();
    view->SetScrollBars(TPictureView::TScrollBars::ssNone);
    view->resize(400, 300);
    view->Picture().Allocate(200, 100);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 200; ++x) view->Picture().SetPixel(x, y, MakeColor(uint8_t(x), uint8_t(y), 128));
    view->UpdateView();
    view->show();
    QApplication::processEvents();
    ASSERT_EQ(view->viewport()->size(), QSize(400, 300));
  }

  QWidget* Port() { return view->viewport(); }
  void Press(QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mousePress(Port(), Qt::LeftButton, m, p); }
  void Release(QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mouseRelease(Port(), Qt::LeftButton, m, p); }
  // A move with the buttons QTest holds pressed.
  void Move(QPoint p, Qt::KeyboardModifiers m = {}) {
    QTest::mouseEvent(QTest::MouseMove, Port(), Qt::NoButton, m, p);
  }
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers m = {}) {
    Press(from, m);
    Move((from + to) / 2, m);
    Move(to, m);
    Release(to, m);
  }
  // A move with no button held.
  void Hover(QPoint p) {
    QMouseEvent event(QEvent::MouseMove, p, Port()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Port(), &event);
  }
  void Wheel(int delta) {
    const QPoint p(200, 150);
    QWheelEvent event(p, Port()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Port(), &event);
  }
  Qt::CursorShape ShownCursor() { return Port()->cursor().shape(); }
  QImage Shot() { return Port()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  static bool WaitUntil(const std::function<bool()>& condition, int timeout_ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
      if (clock.elapsed() > timeout_ms) return false;
      QTest::qWait(20);
    }
    return true;
  }

  std::unique_ptr<TPictureView> view;
};

inline TPictureRect Box(const TPictureView& v) {
  return {v.SelectionLeft(), v.SelectionTop(), v.SelectionRight(), v.SelectionBottom()};
}

}  // namespace vistrel
