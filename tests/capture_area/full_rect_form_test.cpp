// The frozen-desktop selection window over the fake desktop: its menu,
// presets, drags at exact pixels, Auto Crop, the keys that take, the custom
// capture rectangle, a single monitor as the capture bounds, a picture
// shown one screen pixel for one frozen pixel, and the size label and
// magnifier drawn over it but never into it.
#include <QKeyEvent>
#include <QMenu>

#include "commands/command_table.h"
#include "capture/forms/TFullRectForm1.h"
#include "capture/forms/full_rect_texts.h"
#include "tests/capture_area/area_fixture.h"

namespace vistrel::testing {
namespace {


class FullRectTest : public PictureWindowTest {
 protected:
  void SetUp() override {
    PictureWindowTest::SetUp();
    context_.capture.DefineRectMode = false;
  }
  void TearDown() override {
    context_.capture.DefineRectMode = false;
    PictureWindowTest::TearDown();
  }

  // The picture window (which grabs the desktop) and its selection window.
  void Open() {
    window_ = NewWindow();
    form_ = std::make_unique<TFullRectForm1>(context_, QSize(window_->Options().CustomW, window_->Options().CustomH));
    form_->FormCreate();
    form_->show();
  }

  TFrozenDesktopView& View() { return *form_->PictureView1; }
  void Key(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &press);
  }
  TPictureRect Selected() { return View().SelectionBox(); }
  // The pixels the user took.
  const TPictureBitmap& Taken() {
    static const TPictureBitmap kNone;
    return form_->Taken() ? *form_->Taken() : kNone;
  }

  std::unique_ptr<TMainForm1> window_;
  std::unique_ptr<TFullRectForm1> form_;
};

using Corners4 = std::array<int, 4>;
Corners4 Corners(const TPictureRect& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST_F(FullRectTest, MenuOffersPresetsCustomSizeAndTakeItems) {
  Store("CustomW", 200);
  Store("CustomH", 150);
  Open();
  EXPECT_EQ(MenuTexts(form_->PopupMenu1()),
            (QStringList{"Rectangles", "Crop Selection", "-", "Exit"}));
  EXPECT_EQ(MenuTexts(form_->Rectangles1()),
            (QStringList{"16 x 16", "32 x 32", "64 x 64", "128 x 128", "-", "200 x 150", "-",
                         "Desktop Size"}));
  EXPECT_EQ(form_->Rectangles1()->defaultAction()->text(), "32 x 32");
  EXPECT_EQ(form_->PopupMenu1()->defaultAction()->text(), "Exit");
  EXPECT_FALSE(form_->CropSelection1()->isEnabled());
  EXPECT_EQ(View().toolTip(), full_rect_texts::kFirstHint);
  // The window covers the whole desktop and the frozen picture fills it.
  EXPECT_EQ(View().Picture().Width(), 1024);
  EXPECT_EQ(View().PictureOffset(), QPoint(0, 0));
  EXPECT_TRUE(form_->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(form_->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(FullRectTest, PresetsAreCentredAndCutToTheDesktop) {
  Open();
  FindItem(form_->Rectangles1(), "128 x 128")->trigger();
  EXPECT_EQ(Corners(Selected()), (Corners4{448, 320, 575, 447}));
  EXPECT_TRUE(form_->CropSelection1()->isEnabled());
  FindItem(form_->Rectangles1(), "Desktop Size")->trigger();
  EXPECT_EQ(Corners(Selected()), (Corners4{0, 0, 1023, 767}));

  SetDesktop({{TScreenRect{0, 0, 1280, 1024}, true, "ONE"}});
  Store("CustomW", 2000);
  Store("CustomH", 50);
  Open();
  FindItem(form_->Rectangles1(), "2000 x 50")->trigger();
  EXPECT_EQ(Corners(Selected()), (Corners4{0, 487, 1279, 536}));
}

TEST_F(FullRectTest, DragTakesExactlyThePixelsUnderItWithAutoCrop) {
  commands_.SetChecked(cmd::kAutoCrop, true);
  Open();
  Drag(View(), {100, 50}, {300, 80});
  EXPECT_FALSE(form_->isVisible());
  EXPECT_TRUE(PictureShowsDesktop(Taken(), {100, 50, 301, 81}));
}

TEST_F(FullRectTest, WithoutAutoCropTheSelectionMovesAndEnterTakesIt) {
  Open();
  commands_.SetChecked(cmd::kAutoCrop, false);
  Drag(View(), {100, 50}, {300, 80});
  ASSERT_TRUE(form_->isVisible());
  EXPECT_EQ(View().toolTip(), QString(full_rect_texts::kSelectionHint).replace("\r\n", "\n"));
  EXPECT_TRUE(form_->CropSelection1()->isEnabled());
  // Moved by the mouse from inside, then resized by the bottom-right grip.
  Drag(View(), {150, 60}, {160, 65});
  EXPECT_EQ(Corners(Selected()), (Corners4{110, 55, 310, 85}));
  Drag(View(), {310, 85}, {320, 95});
  EXPECT_EQ(Corners(Selected()), (Corners4{110, 55, 320, 95}));
  Key(Qt::Key_Return);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_TRUE(PictureShowsDesktop(Taken(), {110, 55, 321, 96}));
}

TEST_F(FullRectTest, EscWithoutSelectionKeepsThePicture) {
  Open();
  Key(Qt::Key_Escape);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_FALSE(form_->Taken());
  // A click without a drag takes nothing either.
  commands_.SetChecked(cmd::kAutoCrop, true);
  Open();
  MouseAt(View(), QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  MouseAt(View(), QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_FALSE(form_->Taken());
}

TEST_F(FullRectTest, RightButtonOpensTheMenuAndItsReleaseNeverTakes) {
  commands_.SetChecked(cmd::kAutoCrop, true);
  Open();
  FindItem(form_->Rectangles1(), "64 x 64")->trigger();
  bool menu_seen = false;
  QTimer::singleShot(0, [&] {
    menu_seen = form_->PopupMenu1()->isVisible();
    form_->PopupMenu1()->close();
  });
  MouseAt(View(), QEvent::MouseButtonPress, {500, 500}, Qt::RightButton, Qt::RightButton);
  EXPECT_TRUE(menu_seen);
  MouseAt(View(), QEvent::MouseButtonRelease, {500, 500}, Qt::RightButton, Qt::NoButton);
  EXPECT_TRUE(form_->isVisible());
  // The menu's Exit takes the preset.
  FindItem(form_->PopupMenu1(), "Exit")->trigger();
  EXPECT_FALSE(form_->isVisible());
  EXPECT_TRUE(PictureShowsDesktop(Taken(), {480, 352, 544, 416}));
}

TEST_F(FullRectTest, DefiningKeepsTheSelectedScreenPixels) {
  context_.capture.DefineRectMode = true;
  // The stored default: this desktop inset by 4 pixels on each side.
  for (auto [key, value] :
       {std::pair{"CustomLeft", 4}, {"CustomTop", 4}, {"CustomRight", 1020}, {"CustomBottom", 764}})
    Store(key, value);
  Open();
  form_->Preselect(context_.capture.CustomCaptureRect);
  EXPECT_EQ(Corners(Selected()), (Corners4{4, 4, 1019, 763}));
  // Taken unchanged, it is the same rectangle.
  Key(Qt::Key_Escape);
  EXPECT_EQ(context_.capture.CustomCaptureRect, (TScreenRect{4, 4, 1020, 764}));
  // Resized by its grips: Auto Crop does not take while defining; Enter does.
  Open();
  form_->Preselect(context_.capture.CustomCaptureRect);
  Drag(View(), {4, 4}, {100, 50});
  Drag(View(), {1019, 763}, {300, 80});
  EXPECT_TRUE(form_->isVisible());
  Key(Qt::Key_Enter);
  EXPECT_EQ(context_.capture.CustomCaptureRect, (TScreenRect{100, 50, 301, 81}));
  EXPECT_FALSE(form_->Taken());  // no picture is taken
}

TEST_F(FullRectTest, SecondMonitorIsCentredOnWhiteAndKeepsScreenCoordinates) {
  SetDesktop({{TScreenRect{0, 0, 1920, 1080}, true, "ONE"},
              {TScreenRect{1920, 0, 2944, 768}, false, "TWO"}});
  Store("Monitor_0", 0);
  Store("Monitor_2", 1);
  Open();
  ASSERT_EQ(context_.capture.CaptureBounds, (TScreenRect{1920, 0, 2944, 768}));
  EXPECT_EQ(form_->FrozenRect(), context_.capture.CaptureBounds);
  const QPoint offset((2944 - 1024) / 2, (1080 - 768) / 2);
  EXPECT_EQ(View().PictureOffset(), offset);
  const QImage shown = form_->grab().toImage();
  const TColor corner = DesktopColour(1920, 0);
  EXPECT_EQ(shown.pixelColor(offset), QColor(RedOf(corner), GreenOf(corner), BlueOf(corner)));
  EXPECT_EQ(shown.pixelColor(offset - QPoint(1, 1)), QColor(Qt::white));
  // An area: the pixels under the selection, which are monitor 2's.
  commands_.SetChecked(cmd::kAutoCrop, true);
  Drag(View(), {10, 20}, {109, 119});
  EXPECT_TRUE(PictureShowsDesktop(Taken(), {1930, 20, 2030, 120}));
  // The custom capture rectangle: screen coordinates, shown where it lies.
  context_.capture.DefineRectMode = true;
  Open();
  Drag(View(), {10, 20}, {109, 119});
  Key(Qt::Key_Escape);
  const TScreenRect stored = context_.capture.CustomCaptureRect;
  EXPECT_EQ(stored, (TScreenRect{1930, 20, 2030, 120}));
  Open();
  form_->Preselect(stored);
  EXPECT_EQ(Corners(Selected()), (Corners4{10, 20, 109, 119}));
  // The magnifier names a pixel by its place on the screen, not on the
  // centred picture.
  MouseAt(View(), QEvent::MouseMove, {10, 20}, Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
  const TColor pointed = DesktopColour(1930, 20);
  EXPECT_EQ(View().MagnifierCaptionText(),
            QString("1930, 20  #%1").arg(QColor(RedOf(pointed), GreenOf(pointed), BlueOf(pointed))
                                             .name().mid(1).toUpper()));
}

TEST_F(FullRectTest, DesktopGrabOfTheRequestIsFrozenWithoutGrabbingAgain) {
  window_ = NewWindow();
  const std::size_t grabs = Screen().grabs.size();
  form_ = std::make_unique<TFullRectForm1>(context_, QSize(window_->Options().CustomW, window_->Options().CustomH));
  form_->FormCreate(&window_->PictureView1->Picture());
  EXPECT_EQ(Screen().grabs.size(), grabs);
  EXPECT_EQ(View().Picture(), window_->PictureView1->Picture());
  EXPECT_EQ(form_->FrozenRect(), (TScreenRect{0, 0, 1024, 768}));
  // A grab of another area (a window, a custom rectangle) is not the desktop.
  TPictureBitmap window_grab(300, 200);
  form_ = std::make_unique<TFullRectForm1>(context_, QSize(window_->Options().CustomW, window_->Options().CustomH));
  form_->FormCreate(&window_grab);
  EXPECT_EQ(Screen().grabs.size(), grabs + 1);
  EXPECT_TRUE(PictureShowsDesktop(View().Picture(), {0, 0, 1024, 768}));
}

QColor Shown(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

TEST_F(FullRectTest, SizeAndMagnifierShowOnTheWindowButNeverInTheTakenPicture) {
  commands_.SetChecked(cmd::kAutoCrop, true);
  Open();
  MouseAt(View(), QEvent::MouseButtonPress, {100, 50}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
  MouseAt(View(), QEvent::MouseMove, {200, 65}, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
  MouseAt(View(), QEvent::MouseMove, {300, 80}, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(View().SizeLabel(), "201 × 31");
  const QRect label = View().SizeLabelRect(), frame = View().MagnifierRect();
  EXPECT_EQ(label.left(), 100);
  EXPECT_GT(label.top(), 80);  // under the selection
  ASSERT_FALSE(frame.isNull());
  const QImage shown = form_->grab().toImage();
  EXPECT_EQ(shown.pixelColor(label.topLeft() + QPoint(1, 1)), QColor(255, 255, 225));
  // The magnifier: the pointer's pixel in the middle, eight times as large,
  // and the pixel 7 up and left in the lens's corner.
  const int cell = 8 * int(std::lround(View().devicePixelRatioF()));
  const QPoint lens(frame.left() + (frame.width() - 15 * cell) / 2, frame.top() + 1);
  for (QPoint cell_pixel : {QPoint(0, 0), QPoint(7, 7)}) {
    const QPoint screen_pixel = QPoint(293, 73) + cell_pixel;
    for (QPoint inside : {QPoint(0, 0), QPoint(cell - 1, cell - 1)})
      EXPECT_EQ(shown.pixelColor(lens + cell_pixel * cell + inside),
                Shown(DesktopColour(screen_pixel.x(), screen_pixel.y())));
  }
  // Taken with the marks on the screen: the desktop's pixels alone.
  MouseAt(View(), QEvent::MouseButtonRelease, {300, 80}, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_TRUE(PictureShowsDesktop(Taken(), {100, 50, 301, 81}));
  EXPECT_TRUE(PictureShowsDesktop(View().Picture(), {0, 0, 1024, 768}));

  // Without Auto Crop the label goes with the drag's end and stays inside
  // the monitor at its corner; the magnifier comes and goes with Shift.
  commands_.SetChecked(cmd::kAutoCrop, false);
  Open();
  MouseAt(View(), QEvent::MouseButtonPress, {900, 700}, Qt::LeftButton, Qt::LeftButton);
  MouseAt(View(), QEvent::MouseMove, {1023, 767}, Qt::NoButton, Qt::LeftButton);
  const QRect corner = View().SizeLabelRect();
  EXPECT_EQ(View().SizeLabel(), "124 × 68");
  EXPECT_LE(corner.right(), 1023);
  EXPECT_LE(corner.bottom(), 767);
  EXPECT_LT(corner.bottom(), 700);  // above the selection
  MouseAt(View(), QEvent::MouseButtonRelease, {1023, 767}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(View().SizeLabelRect().isNull());
  EXPECT_TRUE(View().MagnifierRect().isNull());
  QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
  QApplication::sendEvent(form_.get(), &shift);
  EXPECT_FALSE(View().MagnifierRect().isNull());
  QKeyEvent shift_up(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
  QApplication::sendEvent(form_.get(), &shift_up);
  EXPECT_TRUE(View().MagnifierRect().isNull());
}

TEST_F(FullRectTest, OneScreenPixelForEachFrozenPixel) {
  Open();
  const double ratio = View().devicePixelRatioF();
  const QImage shown = form_->grab().toImage();
  // The grab of the window is in device pixels whatever Qt's scaling.
  ASSERT_EQ(shown.size(), QSize(1024, 768));
  for (QPoint p :
       {QPoint(0, 0), QPoint(1, 0), QPoint(333, 211), QPoint(1023, 767), QPoint(511, 384)}) {
    const TColor c = DesktopColour(p.x(), p.y());
    EXPECT_EQ(shown.pixelColor(p), QColor(RedOf(c), GreenOf(c), BlueOf(c)))
        << p.x() << "," << p.y();
  }
  // Odd device pixels are reachable by the mouse too when Qt scales.
  commands_.SetChecked(cmd::kAutoCrop, true);
  Drag(View(), {101, 51}, {301, 81});
  EXPECT_TRUE(PictureShowsDesktop(Taken(), {101, 51, 302, 82})) << ratio;
}

}  // namespace
}  // namespace vistrel::testing
