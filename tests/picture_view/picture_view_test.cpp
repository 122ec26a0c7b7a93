// The view without selections: layout, zoom, wheel, scrolling, painting,
// the paint lock, the drawing surface, copying and the clipboard.
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <cmath>
#include <limits>

#include "imaging/operations/mono_bits.h"
#include "picture_view_fixture.h"

namespace vistrel {
namespace {

QRgb Rgb(TColor c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

TEST_F(PictureViewTest, SmallPictureIsCentredOnTheBackground) {
  EXPECT_EQ(view->VisibleExtentX(), 200);
  EXPECT_EQ(view->VisibleExtentY(), 100);
  EXPECT_EQ(view->ScreenToPictureX(kOffX), 0);
  EXPECT_EQ(view->ScreenToPictureY(kOffY + 99), 99);
  EXPECT_EQ(view->PictureToScreenX(0), kOffX);
  EXPECT_EQ(view->ScreenToPictureX(0), -kOffX);  // not clamped
  view->SetViewOrigin(50, 50);
  EXPECT_EQ(view->ViewOriginX(), 0);  // nothing to scroll
  EXPECT_EQ(view->ViewOriginY(), 0);

  const QImage shot = Shot();
  EXPECT_EQ(shot.pixel(kOffX - 1, kOffY), qRgb(255, 255, 255));
  EXPECT_EQ(shot.pixel(kOffX + 7, kOffY + 3), Rgb(view->Picture().Pixel(7, 3)));
  EXPECT_EQ(shot.pixel(kOffX + 199, kOffY + 99), Rgb(view->Picture().Pixel(199, 99)));
  EXPECT_EQ(shot.pixel(kOffX + 200, kOffY + 99), qRgb(255, 255, 255));

  view->SetCenter(false);
  view->SetBackground(MakeColor(0, 0, 255));
  EXPECT_EQ(view->PictureToScreenX(0), 0);
  EXPECT_EQ(Shot().pixel(0, 0), Rgb(view->Picture().Pixel(0, 0)));
  EXPECT_EQ(Shot().pixel(300, 200), qRgb(0, 0, 255));
}

TEST_F(PictureViewTest, ZoomedPictureShowsNearestPixels) {
  view->SetZoomPercent(200);  // 400 x 200: fills the width, centred in height
  EXPECT_EQ(view->VisibleExtentX(), 400);
  EXPECT_EQ(view->PictureToScreenY(0), 50);
  const QImage shot = Shot();
  for (int k : {0, 1, 57, 199}) {
    EXPECT_EQ(shot.pixel(2 * k, 50 + 2 * 10), Rgb(view->Picture().Pixel(k, 10))) << k;
    EXPECT_EQ(shot.pixel(2 * k + 1, 50 + 2 * 10 + 1), Rgb(view->Picture().Pixel(k, 10))) << k;
  }
  view->SetZoomPercent(50);
  EXPECT_EQ(view->VisibleExtentX(), 100);
  EXPECT_EQ(Shot().pixel(150 + 10, 125 + 5), Rgb(view->Picture().Pixel(20, 10)));
}

TEST_F(PictureViewTest, ZoomFilterSmoothsShrunkPicturesOnly) {
  // One-pixel black and white stripes: nearest pixels at 50 % keep only
  // one colour of them, a filter mixes both into grey.
  TPictureBitmap& picture = view->Picture();
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) picture.SetPixel(x, y, x % 2 ? kWhite : kBlack);
  view->UpdateView();
  const auto grey_level = [](QRgb c) { return qGreen(c); };
  view->SetZoomPercent(50);
  EXPECT_EQ(view->ZoomFilter(), TResampleFilter::rfNone);
  const int nearest = grey_level(Shot().pixel(150 + 20, 125 + 20));
  EXPECT_TRUE(nearest == 0 || nearest == 255) << nearest;
  for (TResampleFilter filter : {TResampleFilter::rfTriangle, TResampleFilter::rfBell,
                                 TResampleFilter::rfLanczos3, TResampleFilter::rfMitchell}) {
    view->SetZoomFilter(filter);
    const QImage shot = Shot();
    for (int x : {151, 170, 200, 248})
      EXPECT_NEAR(grey_level(shot.pixel(x, 125 + 20)), 128, 12) << ResampleFilterName(filter) << x;
    // The edge columns mix too, with what the picture has there.
    for (int x : {150, 249}) {
      EXPECT_GT(grey_level(shot.pixel(x, 125 + 20)), 60) << ResampleFilterName(filter) << x;
      EXPECT_LT(grey_level(shot.pixel(x, 125 + 20)), 200) << ResampleFilterName(filter) << x;
    }
  }
  // Above 100 % every pixel stays a picture pixel.
  view->SetZoomPercent(300);
  const QImage enlarged = Shot();
  for (int x = 0; x < 400; ++x) {
    const int level = grey_level(enlarged.pixel(x, 150));
    EXPECT_TRUE(level == 0 || level == 255) << x;
  }
}

TEST_F(PictureViewTest, WheelZoomsByEightPercentOfTheZoom) {
  double zoom_seen_by_handler = 0;
  QObject::connect(view.get(), &TPictureView::OnMouseWheel,
                   [&](int, Qt::KeyboardModifiers, int, int) { zoom_seen_by_handler = view->ZoomPercent(); });
  Wheel(-120);  // towards the user
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 108);
  EXPECT_DOUBLE_EQ(zoom_seen_by_handler, 100);
  view->SetZoomPercent(100);
  Wheel(120);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 92);
  view->SetZoomPercent(5);
  Wheel(-120);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 6);
  Wheel(120);
  Wheel(120);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 4);
  view->SetZoomPercent(1);
  Wheel(120);  // 0 % is no zoom
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 1);

  // A fine wheel zooms once its deltas add up to a notch.
  view->SetZoomPercent(100);
  Wheel(-60);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 100);
  Wheel(-60);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 108);

  view->SetAutoFit(true);
  Wheel(-120);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 108);
}

TEST_F(PictureViewTest, UnusableZoomsAreIgnoredAndAbsurdOnesHarmless) {
  for (double bad : {0.0, -20.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    view->SetZoomPercent(bad);
    EXPECT_DOUBLE_EQ(view->ZoomPercent(), 100);
  }
  view->ZoomAround(10, 10, -1);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 100);

  view->SetScrollBars(TPictureView::TScrollBars::ssBoth);
  view->SetZoomPercent(1e9);
  view->SelectRect(10, 10, 20, 20);
  EXPECT_FALSE(Shot().isNull());
  EXPECT_GT(view->ViewOriginX(), 0);  // the centre was kept: deep inside
  Wheel(-120);
  view->SetZoomPercent(1e-9);
  EXPECT_EQ(view->VisibleExtentX(), 0);
  EXPECT_EQ(view->ViewOriginX(), 0);
  EXPECT_EQ(Shot().pixel(200, 150), qRgb(255, 255, 255));
  Drag({200, 150}, {250, 170});  // no picture to select on: a click
  Wheel(120);
  EXPECT_GT(view->ZoomPercent(), 0);
}

TEST_F(PictureViewTest, ScrollingIsClampedAndDrivesTheScrollBars) {
  view->SetScrollBars(TPictureView::TScrollBars::ssBoth);
  view->Picture().Allocate(1000, 800);
  view->UpdateView();
  QScrollBar* h = view->horizontalScrollBar();
  QScrollBar* v = view->verticalScrollBar();
  ASSERT_TRUE(h->isVisible());
  ASSERT_TRUE(v->isVisible());
  const int client_w = view->viewport()->width(), client_h = view->viewport()->height();
  EXPECT_LT(client_w, 400);

  view->SetViewOrigin(-5, 99999);
  EXPECT_EQ(view->ViewOriginX(), 0);
  EXPECT_EQ(view->ViewOriginY(), 800 - client_h);
  EXPECT_EQ(v->value(), 800 - client_h);

  view->SetZoomPercent(200);  // scroll bars count picture pixels
  EXPECT_EQ(h->value(), std::lround(view->ViewOriginX() / 2.0));
  EXPECT_EQ(h->maximum(), std::lround((2000 - client_w) / 2.0));
  h->setValue(100);  // the user drags the bar: 100 picture pixels
  EXPECT_EQ(view->ViewOriginX(), 200);
  EXPECT_EQ(view->ScreenToPictureX(0), 100);

  view->FitToWindow();  // 37.5 %: 375 x 300 fits the whole view, bars go
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 37.5);
  EXPECT_FALSE(h->isVisible());
  EXPECT_FALSE(v->isVisible());
  EXPECT_EQ(view->VisibleExtentX(), 375);
  EXPECT_EQ(view->PictureToScreenX(0), 12);

  // The pixel under the point goes to the centre at the new zoom.
  ASSERT_EQ(view->ScreenToPictureX(12 + 189), 504);
  ASSERT_EQ(view->ScreenToPictureY(150), 400);
  view->ZoomAround(12 + 189, 150, 100);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 100);
  EXPECT_EQ(view->ScreenToPictureX(view->viewport()->width() / 2), 504);
  EXPECT_EQ(view->ScreenToPictureY(view->viewport()->height() / 2), 400);
}

TEST_F(PictureViewTest, PaintLockFreezesTheScreenUntilTheLastUnlock) {
  view->BeginPaintLock();
  view->BeginPaintLock();
  EXPECT_TRUE(view->PaintLocked());
  view->Picture().Fill(MakeColor(255, 0, 0));
  view->UpdateView();
  EXPECT_NE(Shot().pixel(200, 150), qRgb(255, 0, 0));
  view->EndPaintLock();
  EXPECT_TRUE(view->PaintLocked());
  EXPECT_NE(Shot().pixel(200, 150), qRgb(255, 0, 0));
  view->EndPaintLock();
  EXPECT_FALSE(view->PaintLocked());
  EXPECT_EQ(Shot().pixel(200, 150), qRgb(255, 0, 0));

  view->EndPaintLock();  // never below zero
  view->BeginPaintLock();
  EXPECT_TRUE(view->PaintLocked());
  view->EndPaintLock();
  EXPECT_FALSE(view->PaintLocked());
}

TEST_F(PictureViewTest, OutlineAndGripsAreDrawnInTheirColours) {
  view->SetSelectionColors(MakeColor(255, 0, 0), kWhite);
  view->SetSelectionGrips(kBlack, MakeColor(0, 255, 0), Qt::SolidPattern, 3, true);
  view->SelectRect(50, 20, 150, 80);  // client 150,120 .. 250,180
  const QImage shot = Shot();
  for (int x = 160; x < 190; ++x) {
    const QRgb c = shot.pixel(x, 120);
    EXPECT_TRUE(c == qRgb(255, 0, 0) || c == qRgb(255, 255, 255)) << x;
  }
  EXPECT_EQ(shot.pixel(200, 180 + 1), qRgb(0, 255, 0));  // bottom grip fill
  EXPECT_EQ(shot.pixel(200 - 3, 180), qRgb(0, 0, 0));    // its outline
  EXPECT_EQ(shot.pixel(200, 150), Rgb(view->Picture().Pixel(100, 50)));
}

TEST_F(PictureViewTest, CanvasPaintsStraightIntoThePicture) {
  {
    QImage canvas = view->PictureCanvas();
    ASSERT_EQ(canvas.format(), QImage::Format_BGR888);
    QPainter painter(&canvas);
    painter.fillRect(QRect(3, 4, 2, 2), QColor(10, 20, 30));
  }
  EXPECT_EQ(view->Picture().Pixel(4, 5), MakeColor(10, 20, 30));

  view->Picture().Allocate(20, 10, PixelFormat::Mono1);
  {
    QImage canvas = view->PictureCanvas();
    ASSERT_EQ(canvas.format(), QImage::Format_Mono);
    QPainter painter(&canvas);
    painter.fillRect(QRect(0, 0, 20, 1), Qt::white);
    painter.setPen(Qt::black);
    painter.drawPoint(9, 0);
  }
  EXPECT_TRUE(MonoBit(view->Picture().Row(0), 8));
  EXPECT_FALSE(MonoBit(view->Picture().Row(0), 9));
  EXPECT_FALSE(MonoBit(view->Picture().Row(1), 8));
  view->UpdateView();
  EXPECT_EQ(Shot().pixel(190 + 8, 145), qRgb(255, 255, 255));
  EXPECT_EQ(Shot().pixel(190 + 9, 145), qRgb(0, 0, 0));

  view->Picture().Clear();
  EXPECT_TRUE(view->PictureCanvas().isNull());
}

TEST_F(PictureViewTest, CopySelectionToTakesTheBoxOrTheWholePicture) {
  TPictureBitmap out;
  view->CopySelectionTo(out);
  EXPECT_EQ(out, view->Picture());

  view->SetMouseInteract(TPictureView::miSelectCircle);
  Drag({200, 150}, {220, 160});  // ellipse, box 80..119 x 40..59
  view->CopySelectionTo(out);
  ASSERT_EQ(out.Width(), view->SelectionRight() - view->SelectionLeft() + 1);
  EXPECT_EQ(out.Pixel(0, 0), view->Picture().Pixel(view->SelectionLeft(), view->SelectionTop()));

  TPictureView target;
  view->SetBackground(MakeColor(1, 2, 3));
  view->Picture().SetDpi(300, 300);
  int changes = 0;
  QObject::connect(&target, &TPictureView::OnImageChange, [&] { ++changes; });
  target.SelectRect(0, 0, 5, 5);
  view->CopySelectionTo(target);
  EXPECT_EQ(target.Picture().Width(), out.Width());
  EXPECT_EQ(target.Picture().DpiX(), 300);
  EXPECT_EQ(target.Background(), MakeColor(1, 2, 3));
  EXPECT_FALSE(target.HasSelection());
  EXPECT_EQ(changes, 1);
}

TEST_F(PictureViewTest, ClipboardTakesTheSelectionAndPastePushesUndo) {
  view->SetMouseInteract(TPictureView::miSelectCircle);
  Drag({200, 150}, {230, 170});  // ellipse around picture (100, 50)
  ASSERT_TRUE(view->CopySelectionToClipboard());
  const QImage copied = QGuiApplication::clipboard()->image();
  ASSERT_EQ(copied.width(), view->SelectionRight() - view->SelectionLeft() + 1);
  EXPECT_EQ(copied.pixel(0, 0), qRgb(255, 255, 255));  // outside the ellipse
  EXPECT_EQ(copied.pixel(copied.width() / 2, copied.height() / 2), Rgb(view->Picture().Pixel(100, 50)));

  const TPictureBitmap before = view->Picture();
  TUndoStack undo;
  TPictureProc proc(view->Picture(), undo);
  proc.SetSelection(&view->Selection());
  int changes = 0;
  QObject::connect(view.get(), &TPictureView::OnImageChange, [&] { ++changes; });
  ASSERT_TRUE(view->PasteFromClipboard(proc));
  EXPECT_EQ(view->Picture().Width(), copied.width());
  EXPECT_FALSE(view->HasSelection());
  EXPECT_EQ(undo.UndoDepth(), 1);
  EXPECT_EQ(undo.NewestCaption(), "PasteFromClipboard");
  EXPECT_EQ(changes, 1);
  TPictureBitmap restored;
  ASSERT_TRUE(undo.RestoreUndo(restored));
  EXPECT_EQ(restored, before);

  QGuiApplication::clipboard()->setText("not a picture");
  EXPECT_FALSE(view->PasteFromClipboard(proc));
  EXPECT_EQ(undo.UndoDepth(), 1);
  EXPECT_EQ(changes, 1);
}

TEST_F(PictureViewTest, HintKeepsItsTextAndBreaksTheTooltipLines) {
  view->SetHint("Move selection with the mouse\r\nor use size grips on Rectangle");
  EXPECT_EQ(view->Hint(), "Move selection with the mouse\r\nor use size grips on Rectangle");
  EXPECT_EQ(Port()->toolTip(), "Move selection with the mouse\nor use size grips on Rectangle");
}

TEST_F(PictureViewTest, AnEmptyPictureIgnoresEverything) {
  view->Picture().Clear();
  view->UpdateView();
  int signals_seen = 0;
  QObject::connect(view.get(), &TPictureView::OnSelectionChanging, [&] { ++signals_seen; });
  QObject::connect(view.get(), &TPictureView::OnSelectionChange, [&] { ++signals_seen; });
  Drag({100, 100}, {200, 200});
  EXPECT_EQ(signals_seen, 0);
  EXPECT_FALSE(view->HasSelection());
  view->FitToWindow();
  view->ZoomAround(10, 10, 300);
  EXPECT_DOUBLE_EQ(view->ZoomPercent(), 100);
  view->SelectRect(0, 0, 10, 10);
  EXPECT_FALSE(view->HasSelection());
  EXPECT_EQ(view->VisibleExtentX(), 0);
  EXPECT_FALSE(view->CopySelectionToClipboard());
  view->ClearPicture();
  EXPECT_EQ(Shot().pixel(200, 150), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace vistrel
