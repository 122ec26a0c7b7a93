// The picture window at work: its menus and toolbar, the keyboard, the
// clipboard copy, the status bar and the right-click rectangles.
#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "picture/picture_services.h"
#include "commands/command_table.h"
#include "commands/TInfoForm1.h"
#include "picture/MainFormStatusBar.h"
#include "window_fixture.h"

namespace vistrel::testing {
namespace {

QMenu* Menu(const TMainForm1& window, const char* name) { return window.findChild<QMenu*>(name); }

TEST_F(PictureWindowTest, MenusInTheirOrder) {
  auto window = NewWindow();
  QStringList titles;
  for (QAction* menu : window->menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles,
            QStringList({"&File", "Edit", "&Annotate", "View", "&Options", "Monitors", "Hotkey", "&Help"}));

  EXPECT_EQ(MenuTexts(Menu(*window, "FileMenu")),
            QStringList({"Close", "-", "Suspend", "Refresh screen", "-", "Load Picture",
                         "Save Picture", "Print Picture", "Print Preview", "Send Picture as E-Mail",
                         "Get picture of Vistrel-Pro", "-", "Automatic Save", "-",
                         "Reset to Default and Exit", "-", "Terminate Vistrel-Pro"}));
  EXPECT_EQ(MenuTexts(Menu(*window, "EditMenu")),
            QStringList({"Undo", "Undo Selection", "-", "Copy to Clipboard", "Paste from Clipboard",
                         "Cut Selection", "Crop Selection", "-", "Picture functions", "-",
                         "Standard editing window", "Advanced editing window"}));
  QMenu* functions = FindItem(Menu(*window, "EditMenu"), "Picture functions")->menu();
  EXPECT_EQ(MenuTexts(functions),
            QStringList({"Grayscale colors", "Invert Colors", "Horizontal Mirror",
                         "Vertical Mirror", "Sharpen", "Rotate 90\u00b0", "Brightness", "Contrast",
                         "-", "Resize to 640 x 480", "Resize to 800 x 600", "Resize to 1024 x 768",
                         "Resize to 1280 x 1024", "Resize to 768 x 576", "Resize to 1152 x 864",
                         "Resize to 1600 x 1200"}));
  EXPECT_EQ(MenuTexts(Menu(*window, "ViewMenu")),
            QStringList({"Toolbar", "Centered", "-", "Normal View", "Fit View", "-",
                         "Restore Window to Default"}));
  EXPECT_EQ(
      MenuTexts(Menu(*window, "OptionsMenu")),
      QStringList({"Quality Filter", "Quality rotate", "Quality zoom", "Sound", "Close after Print",
                   "Show Info Message", "Auto Crop", "Automatic to Clipboard", "Client Area only",
                   "Include Cursor", "Direct Printing", "-", "Footer Text",
                   "Save and Picture Type Defaults", "-", "Shortcuts"}));
  EXPECT_EQ(MenuTexts(FindItem(Menu(*window, "OptionsMenu"), "Quality Filter")->menu()),
            QStringList({"Mitchell", "Bspline", "Lanczos3", "Bell"}));
  EXPECT_EQ(MenuTexts(Menu(*window, "HotkeyMenu")), QStringList({"Setup"}));
  EXPECT_EQ(MenuTexts(Menu(*window, "HelpMenu")), QStringList({"About ...", "Vistrel-Pro Help"}));
}

TEST_F(PictureWindowTest, SharedCommandsAreTheCommandSetsOwnObjects) {
  auto window = NewWindow();
  EXPECT_EQ(FindItem(Menu(*window, "FileMenu"), "Terminate Vistrel-Pro"),
            commands_.Action(cmd::kTerminate));
  EXPECT_EQ(FindItem(Menu(*window, "EditMenu"), "Copy to Clipboard"), commands_.Action(cmd::kCopy));
  EXPECT_EQ(FindItem(Menu(*window, "OptionsMenu"), "Sound"), commands_.Action(cmd::kSound));
  EXPECT_EQ(commands_.Action(cmd::kCopy)->shortcut(), QKeySequence("Ctrl+C"));
}

TEST_F(PictureWindowTest, OwnItemsCarryTheirShortcuts) {
  auto window = NewWindow();
  const struct {
    const char* menu;
    const char* item;
    const char* keys;
  } cases[] = {{"FileMenu", "Close", "Esc"},          {"FileMenu", "Refresh screen", "F5"},
               {"FileMenu", "Load Picture", "Ctrl+L"}, {"FileMenu", "Save Picture", "Ctrl+S"},
               {"FileMenu", "Print Preview", "Ctrl+W"},
               {"FileMenu", "Get picture of Vistrel-Pro", "Ctrl+G"},
               {"EditMenu", "Undo Selection", "Ctrl+U"}, {"ViewMenu", "Normal View", "F1"},
               {"ViewMenu", "Fit View", "F2"}};
  for (const auto& c : cases) {
    QAction* item = FindItem(Menu(*window, c.menu), c.item);
    ASSERT_TRUE(item) << c.item;
    EXPECT_EQ(item->shortcut(), QKeySequence(c.keys)) << c.item;
  }
  EXPECT_EQ(Menu(*window, "FileMenu")->defaultAction()->text(), "Close");
}

TEST_F(PictureWindowTest, ToolbarButtonsWithCaptionsAndHints) {
  auto window = NewWindow();
  QStringList captions, hints;
  for (QAction* button : window->ToolBar1()->actions()) {
    captions << button->text();
    hints << button->toolTip();
  }
  EXPECT_EQ(captions, QStringList({"Load", "Save", "E-Mail", "Paste", "Copy", "Cut", "Crop",
                                   "Rect.", "Object", "Edit", "Off", "Page", "Print"}));
  EXPECT_EQ(hints.at(7), "Get Rectangular Area (Full screen)");
  EXPECT_EQ(hints.at(10), "Automatic Save a Picture");
  // Copy works at once; Paste, Cut and Crop wait for the clipboard or a
  // selection.
  EXPECT_TRUE(window->ToolButton(TMainForm1::tbCopy)->isEnabled());
  for (auto button : {TMainForm1::tbPaste, TMainForm1::tbCut, TMainForm1::tbCrop})
    EXPECT_FALSE(window->ToolButton(button)->isEnabled());
  EXPECT_EQ(MenuTexts(window->PopupMenu3()),
            QStringList({"Timer Setup", "Define Capture Rectangle"}));
  commands_.SetChecked(cmd::kAutomaticSave, true);
  QApplication::processEvents();
  EXPECT_EQ(window->ToolButton(TMainForm1::tbAutoSave)->text(), "On");
}

TEST_F(PictureWindowTest, RightClickMenuWithTheStoredCustomRectangle) {
  Store("CustomW", 150);
  Store("CustomH", 60);
  auto window = NewWindow();
  EXPECT_EQ(MenuTexts(window->PopupMenu1()),
            QStringList({"Rectangles", "Select Circular area", "Insert Text", "Free hand draw", "-",
                         "Standard editing window", "Advanced editing window"}));
  EXPECT_EQ(
      MenuTexts(window->PopupMenu1()->actions().first()->menu()),
      QStringList({"16 x 16", "32 x 32", "64 x 64", "128 x 128", "-", "150 x 60", "-", "Define"}));
}

TEST_F(PictureWindowTest, EscClosesTheWindowUnlessItIsBusy) {
  auto window = NewWindow();
  window->show();
  QApplication::processEvents();
  context_.picture.PictureBusy = true;
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  context_.picture.PictureBusy = false;
  window->PictureView1->BeginPaintLock();
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  window->PictureView1->EndPaintLock();
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(PictureWindowTest, ShowModalReturnsWhenTheWindowCloses) {
  auto window = NewWindow();
  // The close box of the frame.
  QTimer::singleShot(0, window.get(), [&] { window->close(); });
  window->ShowModal();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(PictureWindowTest, CopyPutsThePictureOrTheSelectionOnTheClipboardAndSaysSo) {
  auto window = NewWindow();
  QApplication::clipboard()->clear();
  commands_.SetChecked(cmd::kShowInfoMessage, true);
  QStringList popups;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&popups] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* popup = qobject_cast<TInfoForm1*>(w); popup && popup->isVisible() &&
                                                     !popups.contains(popup->Text()))
        popups << popup->Text();
  });
  watch.start(0);
  // The automatic copy of a capture is silent.
  window->Action5Execute();
  QImage copied = QApplication::clipboard()->image();
  ASSERT_EQ(copied.size(), QSize(1024, 768));
  EXPECT_EQ(copied.pixelColor(300, 2), QColor(300 & 255, 2, 300 >> 8));
  EXPECT_EQ(popups, QStringList());

  window->PictureView1->SelectRect(10, 20, 109, 69);
  commands_.Action(cmd::kCopy)->trigger();
  EXPECT_EQ(popups, QStringList{"Copied to the clipboard"});
  copied = QApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), QSize(100, 50));
  EXPECT_EQ(copied.pixelColor(0, 0), QColor(10, 20, 0));
}

TEST_F(PictureWindowTest, FirstPaintAppliesThePictureOptionsAndTheClipboardCopy) {
  StoreBool("Auto_Clipboard", true);
  QApplication::clipboard()->clear();
  int applied = 0;
  context_.services.ApplyPictureOptions = [&](TMainForm1&) { ++applied; };
  auto window = NewWindow();
  window->show();
  QApplication::processEvents();
  window->hide();
  window->show();
  QApplication::processEvents();
  context_.services.ApplyPictureOptions = nullptr;
  EXPECT_EQ(applied, 1);
  EXPECT_FALSE(context_.picture.FirstPaintPending);
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(1024, 768));
}

TEST_F(PictureWindowTest, StatusBarShowsThePictureThePointerAndTheColour) {
  SetDesktop({{TScreenRect{0, 0, 100, 80}, true, "ONE"}});
  auto window = NewWindow();
  window->show();
  QApplication::processEvents();
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(window->StatusBar1()->Panel(i)->width(), TMainFormStatusBar::kPanelWidths[i]);
  EXPECT_EQ(window->StatusText(0), " ");
  EXPECT_EQ(window->StatusText(1), " Picture Width: 100 , Height: 80 , Number of Colors: 8000");

  TPictureView& view = *window->PictureView1;
  view.Picture().SetPixel(5, 6, MakeColor(255, 0, 0));
  const int x = view.PictureToScreenX(5), y = view.PictureToScreenY(6);
  emit view.OnMouseMove(Qt::NoButton, Qt::NoModifier, x, y);
  EXPECT_EQ(window->StatusText(2), "Color = 255, $0000FF  RGB = 255,0,0");
  // The white margin around the centred picture has no pixel.
  emit view.OnMouseMove(Qt::NoButton, Qt::NoModifier, view.PictureToScreenX(0) - 3, y);
  EXPECT_EQ(window->StatusText(2), "Color = -1, $FFFFFFFF  RGB = 255,255,255");

  view.SelectRect(10, 20, 109, 69);  // clipped to the picture: 10..99, 20..69
  emit view.OnMouseMove(Qt::LeftButton, Qt::NoModifier, 7, 9);
  EXPECT_EQ(window->StatusText(1), " ( X: 7, Y: 9 ) Selection Width:89 , Height:49");
  // With a modifier held the pointer text stays.
  emit view.OnMouseMove(Qt::LeftButton, Qt::ShiftModifier, 1, 1);
  EXPECT_EQ(window->StatusText(1), " ( X: 7, Y: 9 ) Selection Width:89 , Height:49");
  view.ImageChanged();
  EXPECT_EQ(window->StatusText(1), " Selection Width:89 , Height:49");
}

TEST_F(PictureWindowTest, ReleasingTheButtonUpdatesHintAndPointerText) {
  auto window = NewWindow();
  TPictureView& view = *window->PictureView1;
  EXPECT_EQ(view.Hint(), "Drag a Rectangle or Right click for advanced Options");
  view.SelectRect(10, 20, 109, 69);
  emit view.OnMouseDown(Qt::LeftButton, Qt::NoModifier, 3, 4);
  emit view.OnMouseUp(Qt::LeftButton, Qt::NoModifier, 3, 4);
  EXPECT_EQ(view.Hint(), "Move selection with the mouse\r\nor use size grips on Rectangle");
  EXPECT_EQ(window->StatusText(1), " ( X: 3, Y: 4 ) Selection Width:99 , Height:49");
  view.SetMouseInteract(TPictureView::miSelectCircle);
  emit view.OnMouseUp(Qt::LeftButton, Qt::NoModifier, 3, 4);
  EXPECT_EQ(view.Hint(), "Move selection with the mouse");
}

TEST_F(PictureWindowTest, WheelScrollsOnePixelPerNotch) {
  auto window = NewWindow();
  window->show();
  QApplication::processEvents();
  TPictureView& view = *window->PictureView1;
  view.SetViewOrigin(100, 0);
  emit view.OnMouseWheel(2 * 120, Qt::NoModifier, 0, 0);  // away from the user
  EXPECT_EQ(view.ViewOriginX(), 102);
  emit view.OnMouseWheel(-120, Qt::NoModifier, 0, 0);
  EXPECT_EQ(view.ViewOriginX(), 101);
}

TEST_F(PictureWindowTest, ProgressShowsTheBarAndEndsAt94) {
  auto window = NewWindow();
  window->PictureProc1Progress(35);
  EXPECT_TRUE(context_.picture.PictureBusy);
  EXPECT_EQ(window->StatusBar1()->Panel(0)->Progress(), 35);
  ASSERT_TRUE(QApplication::overrideCursor());
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
  window->PictureProc1Progress(45);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  window->PictureProc1Progress(94);
  EXPECT_FALSE(context_.picture.PictureBusy);
  EXPECT_FALSE(QApplication::overrideCursor());
  EXPECT_EQ(window->StatusBar1()->Panel(0)->Progress(), -1);
  EXPECT_EQ(window->StatusText(0), " ");
}

TEST_F(PictureWindowTest, PresetRectangleIsLimitedToWhatTheViewShows) {
  SetDesktop({{TScreenRect{0, 0, 100, 80}, true, "ONE"}});
  auto window = NewWindow();
  window->show();
  QApplication::processEvents();
  QMenu* rectangles = window->PopupMenu1()->actions().first()->menu();
  FindItem(rectangles, "32 x 32")->trigger();
  TPictureView& view = *window->PictureView1;
  EXPECT_EQ(view.SelectionLeft(), 34);
  EXPECT_EQ(view.SelectionTop(), 24);
  EXPECT_EQ(view.SelectionRight(), 65);
  FindItem(rectangles, "128 x 128")->trigger();
  EXPECT_EQ(view.SelectionLeft(), 0);
  EXPECT_EQ(view.SelectionTop(), 0);
  EXPECT_EQ(view.SelectionRight(), 99);
  EXPECT_EQ(view.SelectionBottom(), 79);
  EXPECT_EQ(
      view.Hint(),
      "Move selection with the mouse\r\nor use size grips on Rectangle\r\nESC or ENTER to exit");
}

TEST_F(PictureWindowTest, NormalAndFitView) {
  auto window = NewWindow();
  window->show();
  QApplication::processEvents();
  TPictureView& view = *window->PictureView1;
  FindItem(Menu(*window, "ViewMenu"), "Fit View")->trigger();
  EXPECT_LT(view.ZoomPercent(), 100);
  view.SelectRect(600, 500, 700, 600);
  FindItem(Menu(*window, "ViewMenu"), "Normal View")->trigger();
  EXPECT_EQ(view.ZoomPercent(), 100);
  // The selection's corner comes to the view's corner as far as it can.
  EXPECT_EQ(view.ViewOriginX(), std::min(600, 1024 - view.viewport()->width()));
  EXPECT_EQ(view.ViewOriginY(), std::min(500, 768 - view.viewport()->height()));
}

TEST_F(PictureWindowTest, GetPictureOfVistrelGrabsTheForegroundWindow) {
  auto& windows = static_cast<FakeWindowSource&>(*platform_.windows);
  windows.windows[3] = {TScreenRect{20, 30, 220, 180}, TScreenRect{25, 50, 215, 175}};
  windows.active = 3;
  auto window = NewWindow();
  FindItem(Menu(*window, "FileMenu"), "Get picture of Vistrel-Pro")->trigger();
  EXPECT_EQ(Screen().grabs.back(), (TScreenRect{20, 30, 220, 180}));
  EXPECT_EQ(window->PictureView1->Picture().Width(), 200);
  EXPECT_EQ(window->PictureView1->Picture().Pixel(0, 0), DesktopColour(20, 30));
}

}  // namespace
}  // namespace vistrel::testing
