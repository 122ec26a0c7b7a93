// The picture window's finer points: writer defaults with system colours,
// "Refresh screen", the Automatic Save caption, the status bar during a
// drag, "Quality zoom" and a window that opens maximised.
#include <QApplication>
#include <QMouseEvent>
#include <QPalette>

#include "imaging/operations/resample.h"
#include "commands/command_table.h"
#include "picture/MainFormStatusTexts.h"
#include "window_fixture.h"

namespace vistrel::testing {
namespace {

TRgb Rgb(const QColor& c) {
  return TRgb{std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

TEST_F(PictureWindowTest, StoredSystemColoursReachTheWriterAsThePaletteShowsThem) {
  const QPalette saved = QApplication::palette();
  QPalette palette = saved;
  palette.setColor(QPalette::Button, QColor(12, 34, 56));
  palette.setColor(QPalette::ToolTipBase, QColor(250, 240, 200));
  palette.setColor(QPalette::Base, QColor(1, 2, 3));
  QApplication::setPalette(palette);
  Store("DefPngBColor", std::int32_t(0x8000000F));   // button face
  Store("DefGifTColor", std::int32_t(0x80000018));   // info background
  Store("DefGifBColor", std::int32_t(0x80000005));   // window background
  {
    auto window = NewWindow();
    EXPECT_EQ(window->Document().Params().png_background, (TRgb{12, 34, 56}));
    EXPECT_EQ(window->Document().Params().gif_transparent_color, (TRgb{250, 240, 200}));
    EXPECT_EQ(window->Document().Params().gif_background, (TRgb{1, 2, 3}));
    // And so again after the defaults dialog.
    window->Document().Params().png_background = TRgb{};
    window->PictureTypeDefaultsClosed(false);
    EXPECT_EQ(window->Document().Params().png_background, Rgb(palette.color(QPalette::Button)));
  }
  QApplication::setPalette(saved);
}

TEST_F(PictureWindowTest, DefaultsDialogClosedAnyWayPutsTheStoredChoicesBack) {
  tray_.AutoExtention = "png";
  auto window = NewWindow();
  // The save dialog's options button changed the writer meanwhile.
  window->Document().Params().png_compression = 1;
  window->Document().Params().jpeg_quality = 3;
  window->Options().DefPngComp = 8;
  tray_.AutoExtention = "pdf";
  // Close box: the writer takes the stored choices; the type stays.
  window->PictureTypeDefaultsClosed(false);
  EXPECT_EQ(window->Document().Params().png_compression, 8);
  EXPECT_EQ(window->Document().Params().jpeg_quality, window->Options().DefJpgQuality);
  EXPECT_EQ(window->SavePictureEntry(), 5);
  // "&Close": the save dialog's type follows as well.
  window->PictureTypeDefaultsClosed(true);
  EXPECT_EQ(window->SavePictureEntry(), 9);
}

TEST_F(PictureWindowTest, RefreshScreenAsksTheDesktopToRepaint) {
  auto& refresh = static_cast<FakeScreenRefresh&>(*platform_.refresh);
  {
    auto window = NewWindow();
    QAction* item = FindItem(window->findChild<QMenu*>("FileMenu"), "Refresh screen");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(item->shortcut(), QKeySequence("F5"));
    item->trigger();
    EXPECT_EQ(refresh.refreshes, 1);
  }
  // A desktop without the service leaves the item disabled.
  platform_.refresh.reset();
  auto window = NewWindow();
  EXPECT_FALSE(FindItem(window->findChild<QMenu*>("FileMenu"), "Refresh screen")->isEnabled());
}

TEST_F(PictureWindowTest, AutomaticSaveButtonReadsOnOnlyAfterTheQuestionWasAnsweredYes) {
  constexpr int kAutomaticSave = 43;
  QAction* command = commands_.Action(kAutomaticSave);
  // Stands in for the tray form's handler, connected before any window.
  bool answer = true;
  QString caption_while_asking;
  QAction* button = nullptr;
  QObject::connect(command, &QAction::triggered, [&] {
    caption_while_asking = button->text();
    if (command->isChecked() && !answer) commands_.SetChecked(kAutomaticSave, false);
  });
  auto window = NewWindow();
  button = window->ToolButton(TMainForm1::tbAutoSave);
  ASSERT_EQ(button->text(), "Off");

  answer = false;
  command->trigger();
  EXPECT_EQ(caption_while_asking, "Off");
  EXPECT_EQ(button->text(), "Off");

  answer = true;
  command->trigger();
  EXPECT_EQ(caption_while_asking, "Off");
  EXPECT_EQ(button->text(), "On");
  QApplication::processEvents();
  EXPECT_EQ(button->text(), "On");

  command->trigger();  // switched off: no question
  EXPECT_EQ(button->text(), "Off");
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

TEST_F(PictureWindowTest, SelectionTextFollowsTheCurrentMoveAndThePresetRectangle) {
  auto window = NewWindow();
  commands_.SetChecked(cmd::kAutoCrop, false);  // Auto Crop would crop the picture at the release
  window->show();
  QApplication::processEvents();
  TPictureView& view = *window->PictureView1;
  QWidget* area = view.viewport();
  auto shown_box = [&](int x, int y) {
    return QString::fromStdString(PointerSelectionText(x, y, view.SelectionLeft(),
                                                       view.SelectionTop(), view.SelectionRight(),
                                                       view.SelectionBottom()));
  };
  SendMouse(area, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  for (const QPoint to : {QPoint(40, 30), QPoint(90, 70), QPoint(95, 71)}) {
    SendMouse(area, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window->StatusText(1), shown_box(to.x(), to.y()));
  }
  SendMouse(area, QEvent::MouseButtonRelease, {95, 71}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(window->StatusText(1), shown_box(95, 71));

  QMenu* rectangles = window->PopupMenu1()->actions().first()->menu();
  FindItem(rectangles, "64 x 64")->trigger();
  EXPECT_EQ(window->StatusText(1),
            QString::fromStdString(SelectionSizeText(view.SelectionLeft(), view.SelectionTop(),
                                                     view.SelectionRight(),
                                                     view.SelectionBottom())));
  EXPECT_EQ(view.SelectionRight() - view.SelectionLeft(), 63);
}

TEST_F(PictureWindowTest, QualityZoomDrawsShrunkPicturesThroughTheQualityFilter) {
  constexpr int kQualityZoom = 20;
  StoreBool("Quality_Zoom", true);
  Store("ResampleFilter", 3);  // Lanczos3
  auto window = NewWindow();
  EXPECT_EQ(window->PictureView1->ZoomFilter(), TResampleFilter::rfLanczos3);
  QMenu* quality = window->findChild<QMenu*>("OptionsMenu")->actions().first()->menu();
  FindItem(quality, "Bell")->trigger();
  EXPECT_EQ(window->PictureView1->ZoomFilter(), TResampleFilter::rfBell);
  commands_.Action(kQualityZoom)->trigger();  // off
  EXPECT_EQ(window->PictureView1->ZoomFilter(), TResampleFilter::rfNone);
  commands_.Action(kQualityZoom)->trigger();  // on again
  EXPECT_EQ(window->PictureView1->ZoomFilter(), TResampleFilter::rfBell);
}

TEST_F(PictureWindowTest, WindowOpenedMaximisedKeepsItsStoredRestoreRectangle) {
  Store("MainFormState", 2);
  Store("MainFormLeft", 100);
  Store("MainFormTop", 90);
  Store("MainFormWidth", 700);
  Store("MainFormHeight", 500);
  Store("OldWinLeft", 20);
  Store("OldWinTop", 30);
  Store("OldWinRight", 720);
  Store("OldWinBottom", 530);
  {
    auto window = NewWindow();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->RestoredWindowRect(), (TScreenRect{20, 30, 720, 530}));
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->RestoredWindowRect(), (TScreenRect{20, 30, 720, 530}));
  }
  EXPECT_EQ(StoredInteger("OldWinLeft"), 20);
  EXPECT_EQ(StoredInteger("OldWinBottom"), 530);
  EXPECT_EQ(StoredInteger("MainFormLeft"), 100);

  // Un-maximised, it goes to that rectangle, which is then its own.
  {
    auto window = NewWindow();
    window->show();
    QApplication::processEvents();
    window->showNormal();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(window->pos(), QPoint(20, 30));
    EXPECT_EQ(window->size(), QSize(700, 500));
  }
  EXPECT_EQ(StoredInteger("MainFormState"), 1);
  EXPECT_EQ(StoredInteger("MainFormLeft"), 20);
  EXPECT_EQ(StoredInteger("MainFormTop"), 30);
  EXPECT_EQ(StoredInteger("OldWinLeft"), 20);
}

}  // namespace
}  // namespace vistrel::testing
