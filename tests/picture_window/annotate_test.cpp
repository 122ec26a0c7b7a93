// Annotating in the picture window, driven by keys and the mouse as a user
// would: marks land on the picture pixels under the pointer at any zoom,
// stay editable until committed, and a commit is one undo entry.
#include <QApplication>
#include <cmath>
#include <cstring>
#include <QClipboard>
#include <QImage>
#include <QMenuBar>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

#include "picture/TMainForm1.h"
#include "picture/annotation/annotate_mode.h"
#include "picture/annotation/annotation_painter.h"
#include "picture/stored_color.h"
#include "window_fixture.h"

namespace vistrel::testing {
namespace {

using T = TAnnotationTool;
constexpr TColor kRed = MakeColor(255, 0, 0);

class AnnotateTest : public PictureWindowTest {
 protected:
  void Open(double zoom) {
    window_ = NewWindow();
    window_->resize(900, 700);
    window_->show();
    QApplication::processEvents();
    view().SetZoomPercent(zoom);
    view().SetViewOrigin(0, 0);
    original_ = window_->Document().Picture();
  }
  TPictureView& view() { return *window_->PictureView1; }
  TAnnotateMode& mode() { return *window_->Annotate(); }
  TAnnotateOverlay& overlay() { return mode().Overlay(); }
  const TPictureBitmap& picture() { return window_->Document().Picture(); }

  // The client point over the middle of picture pixel (x, y).
  QPoint At(int x, int y) {
    const QPointF c = view().PictureToClientTransform().map(QPointF(x + 0.5, y + 0.5));
    return {int(std::floor(c.x())), int(std::floor(c.y()))};
  }
  void Key(char key) { QTest::keyClick(&view(), key); }
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mousePress(&overlay(), Qt::LeftButton, modifiers, from);
    // Moves with the button QTest holds pressed and the modifiers.
    QTest::mouseEvent(QTest::MouseMove, &overlay(), Qt::NoButton, modifiers, (from + to) / 2);
    QTest::mouseEvent(QTest::MouseMove, &overlay(), Qt::NoButton, modifiers, to);
    QTest::mouseRelease(&overlay(), Qt::LeftButton, modifiers, to);
  }
  void Click(QPoint at) { QTest::mouseClick(&overlay(), Qt::LeftButton, {}, at); }

  std::unique_ptr<TMainForm1> window_;
  TPictureBitmap original_;
};

TEST_F(AnnotateTest, EveryToolLandsOnThePicturePixelsUnderThePointerAndCommitsExactly) {
  struct Case {
    char key;
    std::vector<std::pair<int, int>> drag;  // one point: a click
    Qt::KeyboardModifiers modifiers;
  };
  const Case cases[] = {
      {'a', {{10, 10}, {80, 10}}, {}},     {'l', {{100, 10}, {140, 60}}, {}},
      {'r', {{160, 20}, {200, 40}}, {}},   {'e', {{220, 20}, {270, 50}}, Qt::ControlModifier},
      {'p', {{10, 40}, {40, 70}}, {}},     {'h', {{50, 90}, {140, 90}}, {}},
      {'n', {{170, 80}}, {}},              {'x', {{200, 70}, {239, 109}}, {}},
      {'b', {{250, 70}, {285, 109}}, {}},  {'t', {{10, 120}}, {}},
  };
  for (double zoom : {100.0, 300.0}) {
    Open(zoom);
    for (const Case& c : cases) {
      Key(c.key);
      ASSERT_EQ(mode().Tool(), ToolForKey(c.key)) << c.key;
      const QPoint from = At(c.drag.front().first, c.drag.front().second);
      if (c.drag.size() == 1) {
        QTest::mouseClick(&overlay(), Qt::LeftButton, c.modifiers, from);
      } else {
        Drag(from, At(c.drag.back().first, c.drag.back().second), c.modifiers);
      }
      if (c.key == 't') QTest::keyClicks(&view(), "Step");
      const TAnnotation& mark = overlay().Layer().back();
      EXPECT_EQ(mark.points.front(), (TPointF{double(c.drag.front().first), double(c.drag.front().second)}))
          << c.key << " at " << zoom;
      EXPECT_EQ(mark.points.back(), (TPointF{double(c.drag.back().first), double(c.drag.back().second)}))
          << c.key << " at " << zoom;
    }
    const std::vector<TAnnotation> layer = overlay().Layer();
    ASSERT_EQ(layer.size(), std::size(cases));
    EXPECT_TRUE(layer[3].filled);  // Ctrl at the start
    EXPECT_EQ(layer[5].color, MakeColor(255, 255, 0));  // the highlighter's own colour
    EXPECT_EQ(layer[6].number, 1);
    EXPECT_EQ(layer[9].text, "Step");

    const int depth = window_->Document().Undo().UndoDepth();
    EXPECT_FALSE(window_->PictureModified());
    QTest::keyClick(&view(), Qt::Key_Escape);  // ends the typing
    QTest::keyClick(&view(), Qt::Key_Escape);  // leaves the tool, commits
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(mode().Tool(), T::None);
    EXPECT_TRUE(overlay().Layer().empty());
    EXPECT_EQ(window_->Document().Undo().UndoDepth(), depth + 1);
    EXPECT_TRUE(window_->PictureModified());

    TPictureBitmap expected = original_;
    DrawAnnotationsInto(expected, layer);
    ASSERT_EQ(picture().Width(), expected.Width());
    for (int y = 0; y < expected.Height(); ++y)
      ASSERT_EQ(0, std::memcmp(picture().Row(y), expected.Row(y), std::size_t(expected.Width()) * 3))
          << "row " << y << " at " << zoom;
    // The rectangle's outline in full colour at its corners.
    EXPECT_EQ(picture().Pixel(160, 20), kRed);
    EXPECT_EQ(picture().Pixel(200, 40), kRed);

    // The window's Undo takes the marks away again.
    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(picture().Pixel(160, 20), original_.Pixel(160, 20));
    EXPECT_FALSE(window_->PictureModified());
  }
}

TEST_F(AnnotateTest, ShiftKeepsLinesAtFortyFiveDegreesAndShapesSquare) {
  Open(100);
  Key('l');
  Drag(At(10, 10), At(60, 22), Qt::ShiftModifier);
  EXPECT_EQ(overlay().Layer().back().points[1], ConstrainedEnd(T::Line, {10, 10}, {60, 22}));
  EXPECT_EQ(overlay().Layer().back().points[1].y, 10);
  Key('r');
  Drag(At(100, 100), At(130, 115), Qt::ShiftModifier);
  const TAnnotation& box = overlay().Layer().back();
  EXPECT_EQ(box.points[1].x - box.points[0].x, box.points[1].y - box.points[0].y);
}

TEST_F(AnnotateTest, MarksStayEditableUntilCommitted) {
  Open(200);
  Key('r');
  Drag(At(20, 20), At(60, 50));
  Drag(At(100, 20), At(140, 50));
  ASSERT_EQ(overlay().Layer().size(), 2u);

  // A click on the first outline selects it; the colour applies to it.
  Click(At(30, 20));
  ASSERT_EQ(overlay().Selected(), 0u);
  mode().ChooseColor(MakeColor(0, 0, 255));
  mode().ChooseWidth(7);
  EXPECT_EQ(overlay().Layer()[0].color, MakeColor(0, 0, 255));
  EXPECT_EQ(overlay().Layer()[0].width, 7);
  EXPECT_EQ(overlay().Layer()[1].color, kRed);

  // Dragging its outline moves it; its bottom-right grip resizes it.
  Drag(At(30, 20), At(40, 30));
  EXPECT_EQ(overlay().Layer()[0].points[0], (TPointF{30, 30}));
  EXPECT_EQ(overlay().Layer()[0].points[1], (TPointF{70, 60}));
  const QRectF frame = view().PictureToClientTransform().mapRect(QRectF(30, 30, 41, 31));
  Drag(frame.bottomRight().toPoint(), frame.bottomRight().toPoint() + QPoint(20, 10));
  EXPECT_EQ(overlay().Layer()[0].points[1], (TPointF{80, 65}));

  // Del removes the selected mark, Ctrl+Z the newest one, and neither
  // touches the picture's own undo list.
  QTest::keyClick(&view(), Qt::Key_Delete);
  ASSERT_EQ(overlay().Layer().size(), 1u);
  EXPECT_EQ(overlay().Layer()[0].points[0], (TPointF{100, 20}));
  QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(overlay().Layer().empty());
  EXPECT_EQ(window_->Document().Undo().UndoDepth(), 0);
  QTest::keyClick(&view(), Qt::Key_Escape);
  EXPECT_EQ(window_->Document().Undo().UndoDepth(), 0);  // nothing to commit
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(AnnotateTest, TypedKeysGoIntoTheTextNotToTheTools) {
  Open(100);
  Key('t');
  Click(At(30, 30));
  QTest::keyClicks(&view(), "R x");
  QTest::keyClick(&view(), Qt::Key_Return);
  QTest::keyClicks(&view(), "Bn");
  QTest::keyClick(&view(), Qt::Key_Backspace);
  EXPECT_EQ(mode().Tool(), T::Text);
  ASSERT_EQ(overlay().Layer().size(), 1u);
  EXPECT_EQ(overlay().Layer()[0].text, "R x\nB");
  QTest::keyClick(&view(), Qt::Key_Escape);
  EXPECT_FALSE(overlay().Typing());
  Key('r');  // after typing, keys choose tools again
  EXPECT_EQ(mode().Tool(), T::Rectangle);
}

TEST_F(AnnotateTest, ACommandCommitsTheMarksFirst) {
  Open(100);
  Key('r');
  Drag(At(20, 20), At(60, 40));
  QTest::keyClick(window_.get(), Qt::Key_C, Qt::ControlModifier);
  const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888);
  ASSERT_FALSE(copied.isNull());
  EXPECT_EQ(copied.pixelColor(20, 20), QColor(255, 0, 0));
  EXPECT_EQ(copied.pixelColor(40, 30), QColorFromStored(original_.Pixel(40, 30)));
  EXPECT_TRUE(overlay().Layer().empty());
  EXPECT_EQ(mode().Tool(), T::Rectangle);  // the tool stays for the next mark
  EXPECT_EQ(window_->Document().Undo().NewestCaption(), "Annotate");

  // A click on a toolbar button commits too.
  Drag(At(70, 20), At(90, 40));
  QWidget* copy = window_->ToolBar1()->widgetForAction(window_->ToolButton(TMainForm1::tbCopy));
  QTest::mouseClick(copy, Qt::LeftButton);
  EXPECT_TRUE(overlay().Layer().empty());
  EXPECT_EQ(picture().Pixel(70, 20), kRed);

  // Numbered markers go on counting after a commit.
  Key('n');
  Click(At(120, 120));
  QTest::keyClick(window_.get(), Qt::Key_C, Qt::ControlModifier);
  Click(At(160, 120));
  EXPECT_EQ(overlay().Layer().back().number, 2);
}

TEST_F(AnnotateTest, WithoutAToolADragSelectsAndTheChoicesAreKept) {
  Open(100);
  EXPECT_EQ(MenuTexts(mode().Menu()),
            QStringList({"Arrow\tA", "Line\tL", "Rectangle\tR", "Ellipse\tE", "Pen\tP",
                         "Highlighter\tH", "Numbered Marker\tN", "Text\tT", "Pixelate\tX",
                         "Blur\tB", "-", "Delete Mark", "Remove Last Mark\tCtrl+Z",
                         "Finish Annotating\tEsc", "-", "Annotate Toolbar"}));
  QTest::mousePress(view().viewport(), Qt::LeftButton, {}, At(10, 10));
  QTest::mouseMove(view().viewport(), At(40, 40));
  QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, At(40, 40));
  // The drag selected, and Auto Crop cut the picture to it.
  EXPECT_EQ(picture().Width(), 31);
  EXPECT_FALSE(overlay().isVisible());
  QTest::keyClick(&view(), Qt::Key_R, Qt::ControlModifier);  // Crop's key, not a tool
  EXPECT_EQ(mode().Tool(), T::None);

  EXPECT_EQ(overlay().Style().Color, kRed);
  EXPECT_EQ(overlay().Style().Width, 3);
  mode().ChooseColor(MakeColor(0, 128, 0));
  mode().ChooseWidth(12);
  window_.reset();
  SettingsStore store;
  const AnnotateOptions kept = AnnotateOptions::Load(store);
  EXPECT_EQ(kept.Color, MakeColor(0, 128, 0));
  EXPECT_EQ(kept.Width, 12);
  EXPECT_EQ(kept.HighlighterColor, MakeColor(255, 255, 0));
}

}  // namespace
}  // namespace vistrel::testing
