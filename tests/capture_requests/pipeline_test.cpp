// Capture requests carried out whole on the fake desktop: what is saved,
// copied, printed and shown, and that a picture window is made only to
// show or to print.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>

#include "capture/capture_mode.h"
#include "capture/forms/TFullRectForm1.h"
#include "capture/forms/capture_pipeline.h"
#include "imaging/formats/picture_file.h"
#include "picture/picture_document.h"
#include "settings/picture_options.h"
#include "tests/capture_area/area_fixture.h"
#include "tests/picture_window/dialog_answers.h"

namespace vistrel::testing {
namespace {

using TStatus = TCaptureOutcome::TStatus;

bool ShowsInvertedDesktop(const TPictureBitmap& picture, const TScreenRect& rect) {
  if (picture.Width() != rect.Width() || picture.Height() != rect.Height()) return false;
  for (int y = 0; y < picture.Height(); y += 7)
    for (int x = 0; x < picture.Width(); x += 7) {
      const TColor c = DesktopColour(rect.left + x, rect.top + y);
      if (picture.Pixel(x, y) != MakeColor(255 - RedOf(c), 255 - GreenOf(c), 255 - BlueOf(c)))
        return false;
    }
  return true;
}

TPictureBitmap Loaded(const std::string& path) {
  TPictureBitmap picture;
  TIOParams params;
  LoadPictureFile(path, picture, params);
  return picture;
}

QImage ClipboardImage() {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  return mime && mime->hasImage() ? qvariant_cast<QImage>(mime->imageData()) : QImage();
}

class PipelineTest : public PictureWindowTest {
 protected:
  void SetUp() override {
    PictureWindowTest::SetUp();
    ASSERT_TRUE(pictures_.isValid());
    tray_.AutoFolder = Folder();
    StoreBool("ShowInfo", false);  // no popup holding the run for 1.5 s
    // The first step of every picture window's creation: counts them.
    context_.services.CreatePrintSetup = [this](TMainForm1&) { ++windows_made_; };
    QGuiApplication::clipboard()->clear();
  }

  std::string Folder() const { return pictures_.path().toStdString() + "/"; }

  void StoreInvertingRecipe() {
    TPictureRecipe recipe;
    recipe.CheckBoxItem[efInvert] = true;
    SettingsStore store;
    PictureOptions::Save(store, recipe);
    store.Close();
  }

  // Closes the picture window once it is shown, keeping its picture.
  void CloseWindowWhenShown() {
    WhenShown<TMainForm1>([this](TMainForm1& window) {
      shown_ = window.PictureView1->Picture();
      window.close();
    });
  }

  QTemporaryDir pictures_;
  int windows_made_ = 0;
  std::optional<TPictureBitmap> shown_;
  TCapturePipeline pipeline_{context_};
};

TEST_F(PipelineTest, SavingHotkeysAndTimerTicksWriteTheAdjustedPictureWithoutAWindow) {
  StoreInvertingRecipe();
  StoreBool("Auto_Clipboard", true);
  const TCaptureOutcome saved = pipeline_.RunCaptureRequest(*RequestForHotkey(cmDesktopSave, false));
  EXPECT_EQ(saved.status, TStatus::Done);
  ASSERT_EQ(saved.path, Folder() + "Picture0001.png");
  EXPECT_TRUE(ShowsInvertedDesktop(Loaded(saved.path), {0, 0, 1024, 768}));
  // The automatic copy is the adjusted picture too.
  const QImage copied = ClipboardImage();
  ASSERT_EQ(copied.size(), QSize(1024, 768));
  const TColor corner = DesktopColour(10, 10);
  EXPECT_EQ(copied.pixelColor(10, 10),
            QColor(255 - RedOf(corner), 255 - GreenOf(corner), 255 - BlueOf(corner)));

  // A tick takes the custom rectangle under the next number and never copies.
  QGuiApplication::clipboard()->clear();
  for (auto [key, value] : {std::pair{"CustomLeft", 100}, {"CustomTop", 50},
                            {"CustomRight", 300}, {"CustomBottom", 150}})
    Store(key, value);
  const TCaptureOutcome ticked = pipeline_.RunCaptureRequest(RequestForTimerTick());
  ASSERT_EQ(ticked.path, Folder() + "Picture0002.png");
  EXPECT_TRUE(ShowsInvertedDesktop(Loaded(ticked.path), {100, 50, 300, 150}));
  EXPECT_TRUE(ClipboardImage().isNull());

  // A folder that cannot be written: the error box, a failure, still no window.
  tray_.AutoFolder = "/nonexistent-folder/";
  DialogAnswers answers({[](QWidget* box) { box->close(); }});
  const TCaptureOutcome failed = pipeline_.RunCaptureRequest(RequestForTimerTick());
  EXPECT_TRUE(answers.AllAnswered());
  EXPECT_EQ(failed.status, TStatus::Failed);
  EXPECT_NE(failed.message.find("/nonexistent-folder/Picture"), std::string::npos);
  EXPECT_EQ(windows_made_, 0);
}

TEST_F(PipelineTest, GivenPathOrFolderTakesThePlaceOfTheAutomaticName) {
  TCaptureRequest request;
  request.area = TCaptureArea::Window;
  auto& windows = static_cast<FakeWindowSource&>(*platform_.windows);
  windows.windows[7] = {TScreenRect{100, 50, 400, 250}, TScreenRect{110, 80, 390, 240}};
  windows.active = 7;
  StoreBool("Client_Area", true);  // a request that names the window ignores it
  request.save = TSaveTarget{Folder() + "frame.bmp", {}};
  EXPECT_EQ(pipeline_.RunCaptureRequest(request).path, Folder() + "frame.bmp");
  EXPECT_TRUE(PictureShowsDesktop(Loaded(Folder() + "frame.bmp"), {100, 50, 400, 250}));
  QTemporaryDir other;
  request.save = TSaveTarget{{}, other.path().toStdString()};
  EXPECT_EQ(pipeline_.RunCaptureRequest(request).path,
            other.path().toStdString() + "/Picture0001.png");
  EXPECT_EQ(windows_made_, 0);
}

TEST_F(PipelineTest, TheCommandLineHearsOfFailuresWithoutAMessageBox) {
  TCaptureRequest request;
  request.caller_hears_outcome = true;
  request.save = TSaveTarget{"/nonexistent-folder/x.png", {}};
  // A box here would wait for a click no script can give.
  const TCaptureOutcome unwritable = pipeline_.RunCaptureRequest(request);
  EXPECT_EQ(unwritable.status, TStatus::Failed);
  EXPECT_NE(unwritable.message.find("/nonexistent-folder/x.png"), std::string::npos);
  request.area = TCaptureArea::Monitor;
  request.monitor = 3;
  request.save = TSaveTarget{Folder() + "m.png", {}};
  const TCaptureOutcome no_monitor = pipeline_.RunCaptureRequest(request);
  EXPECT_EQ(no_monitor.status, TStatus::Failed);
  EXPECT_NE(no_monitor.message.find("no monitor 3"), std::string::npos);
  EXPECT_TRUE(QDir(pictures_.path()).isEmpty());
  EXPECT_EQ(windows_made_, 0);
}

TEST_F(PipelineTest, AnUnreadableScreenIsNamedNeverShownAsABlackPicture) {
  static_cast<FakeScreenSource&>(*platform_.screen).fail = true;
  QString box_text;
  DialogAnswers answers({[&](QWidget* box) {
    box_text = static_cast<QMessageBox*>(box)->text();
    box->close();
  }});
  EXPECT_EQ(pipeline_.RunCaptureRequest(*RequestForHotkey(cmDesktop, false)).status,
            TStatus::Failed);
  EXPECT_TRUE(answers.AllAnswered());
  EXPECT_EQ(box_text, "The screen could not be captured: the screen could not be read.");

  TCaptureRequest asked;
  asked.area = TCaptureArea::Area;
  asked.caller_hears_outcome = true;
  asked.save = TSaveTarget{Folder() + "a.png", {}};
  const TCaptureOutcome failed = pipeline_.RunCaptureRequest(asked);
  EXPECT_EQ(failed.status, TStatus::Failed);
  EXPECT_EQ(failed.message, "the screen could not be captured: the screen could not be read");
  EXPECT_TRUE(QDir(pictures_.path()).isEmpty());
  EXPECT_EQ(windows_made_, 0);
}

TEST_F(PipelineTest, PrintingNeedsNoWindowOnlyAFailedPrintShowsOne) {
  StoreInvertingRecipe();
  StoreString("FooterText", "from the settings");
  int printed = 0;
  bool print_ok = true;
  std::string footer_seen;
  std::optional<TPictureBitmap> printed_picture;
  context_.services.PrintDocument = [&](TAppContext&, TPictureDocument& document,
                                        std::string& footer, std::string* error) {
    ++printed;
    footer_seen = footer;
    printed_picture = document.Picture();
    if (!print_ok && error) *error = "Printer \"PDF\" refused the print job";
    return print_ok;
  };
  EXPECT_EQ(pipeline_.RunCaptureRequest(RequestForPrintDesktop()).status, TStatus::Done);
  EXPECT_EQ(printed, 1);
  EXPECT_EQ(footer_seen, "from the settings");
  ASSERT_TRUE(printed_picture);
  EXPECT_TRUE(ShowsInvertedDesktop(*printed_picture, {0, 0, 1024, 768}));
  EXPECT_EQ(windows_made_, 0);

  // Not printed: the capture is shown, adjusted once, never lost.
  print_ok = false;
  CloseWindowWhenShown();
  EXPECT_EQ(pipeline_.RunCaptureRequest(*RequestForHotkey(cmDesktop, true)).status,
            TStatus::Failed);
  ASSERT_TRUE(shown_);
  EXPECT_TRUE(ShowsInvertedDesktop(*shown_, {0, 0, 1024, 768}));
  EXPECT_EQ(windows_made_, 1);

  // The command line hears why, and no window waits for a user.
  TCaptureRequest asked;
  asked.print = true;
  asked.caller_hears_outcome = true;
  const TCaptureOutcome refused = pipeline_.RunCaptureRequest(asked);
  EXPECT_EQ(refused.status, TStatus::Failed);
  EXPECT_NE(refused.message.find("refused the print job"), std::string::npos);
  EXPECT_EQ(windows_made_, 1);
}

void Press(QWidget& widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
}

TEST_F(PipelineTest, AreaLeftWithoutSelectionShowsItsFallbackOrIsCancelled) {
  // The hotkey: Esc shows the whole desktop area in the picture window.
  WhenShown<TFullRectForm1>([](TFullRectForm1& form) { Press(form, Qt::Key_Escape); });
  CloseWindowWhenShown();
  EXPECT_EQ(pipeline_.RunCaptureRequest(RequestForRectangularArea()).status, TStatus::Done);
  ASSERT_TRUE(shown_);
  EXPECT_TRUE(PictureShowsDesktop(*shown_, {0, 0, 1024, 768}));

  // Asked to save an area: Esc cancels, nothing is written or shown.
  TCaptureRequest request;
  request.area = TCaptureArea::Area;
  request.save = TSaveTarget{};
  WhenShown<TFullRectForm1>([](TFullRectForm1& form) { Press(form, Qt::Key_Escape); });
  EXPECT_EQ(pipeline_.RunCaptureRequest(request).status, TStatus::Cancelled);
  EXPECT_TRUE(QDir(pictures_.path()).isEmpty());
  // A drag (Auto Crop is stored on) is the picture saved.
  WhenShown<TFullRectForm1>(
      [](TFullRectForm1& form) { Drag(*form.PictureView1, {10, 20}, {49, 29}); });
  const TCaptureOutcome taken = pipeline_.RunCaptureRequest(request);
  EXPECT_TRUE(PictureShowsDesktop(Loaded(taken.path), {10, 20, 50, 30}));
  EXPECT_EQ(windows_made_, 1);
}

TEST_F(PipelineTest, AFrozenDesktopThatCannotBeReadAgainIsNamedAndShowsNoWindow) {
  // The cursor is drawn into the first grab, so the frozen desktop grabs
  // anew; the desktop refuses that second grab.
  Screen().fail_after = 1;
  std::vector<QString> boxes;
  DialogAnswers answers({[&](QWidget* box) {
    auto* message = qobject_cast<QMessageBox*>(box);
    boxes.push_back(message ? message->text() : box->metaObject()->className());
    box->close();
  }});
  TCaptureRequest request = RequestForRectangularArea();
  request.cursor = TAsSet::On;
  EXPECT_EQ(pipeline_.RunCaptureRequest(request).status, TStatus::Failed);
  EXPECT_EQ(boxes, std::vector<QString>{"The screen could not be captured: the screen could not be read."});
  EXPECT_EQ(Screen().grabs.size(), 2u);
  EXPECT_EQ(windows_made_, 0);
}

class PickingPipelineTest : public PipelineTest {
 protected:
  void SetUp() override {
    PipelineTest::SetUp();
    TWindowPick pick;
    pick.picture.Allocate(40, 30);
    pick.picture.Fill(MakeColor(9, 8, 7));
    Windows().pick = pick;
  }
  FakeWindowSource& Windows() { return static_cast<FakeWindowSource&>(*platform_.windows); }
};

TEST_F(PickingPipelineTest, WindowAndObjectCapturesAreThePickAsItCame) {
  for (TCaptureArea area : {TCaptureArea::Window, TCaptureArea::Object}) {
    TCaptureRequest request;
    request.area = area;
    request.save = TSaveTarget{Folder() + (area == TCaptureArea::Window ? "w.png" : "o.png"), {}};
    const TCaptureOutcome outcome = pipeline_.RunCaptureRequest(request);
    ASSERT_EQ(outcome.status, TStatus::Done);
    EXPECT_EQ(Loaded(outcome.path), Windows().pick->picture);
  }
  // Neither a desktop grab nor an overlay came first.
  EXPECT_TRUE(Screen().grabs.empty());
  EXPECT_EQ(Windows().picks, 2);
}

TEST_F(PickingPipelineTest, ALeftPickIsQuietARefusedOneNamed) {
  Windows().pick = TWindowPick{{}, true, "the screenshot was cancelled"};
  std::vector<QString> boxes;
  DialogAnswers answers({[&](QWidget* box) {
    boxes.push_back(static_cast<QMessageBox*>(box)->text());
    box->close();
  }});
  const TCaptureOutcome left = pipeline_.RunCaptureRequest(*RequestForHotkey(cmActiveWindow, false));
  EXPECT_EQ(left.status, TStatus::Cancelled);
  EXPECT_TRUE(boxes.empty());

  Windows().pick = TWindowPick{{}, false, "the desktop refused the screenshot"};
  EXPECT_EQ(pipeline_.RunCaptureRequest(*RequestForHotkey(cmActiveWindowSave, false)).status,
            TStatus::Failed);
  EXPECT_EQ(boxes, std::vector<QString>{"The screen could not be captured: the desktop refused the screenshot."});
  EXPECT_TRUE(QDir(pictures_.path()).isEmpty());
  EXPECT_EQ(windows_made_, 0);
}

TEST_F(PickingPipelineTest, AreaFallingBackToAWindowPicksOnlyWhenNothingWasSelected) {
  TCaptureRequest request = *RequestForHotkey(cmSpareSlot, false);
  request.show = false;
  request.save = TSaveTarget{Folder() + "a.png", {}};
  WhenShown<TFullRectForm1>([](TFullRectForm1& form) { Press(form, Qt::Key_Escape); });
  TCaptureOutcome outcome = pipeline_.RunCaptureRequest(request);
  EXPECT_EQ(Windows().picks, 1);
  EXPECT_EQ(Loaded(outcome.path), Windows().pick->picture);

  WhenShown<TFullRectForm1>(
      [](TFullRectForm1& form) { Drag(*form.PictureView1, {10, 20}, {49, 29}); });
  outcome = pipeline_.RunCaptureRequest(request);
  EXPECT_EQ(Windows().picks, 1);
  EXPECT_TRUE(PictureShowsDesktop(Loaded(outcome.path), {10, 20, 50, 30}));
}

}  // namespace
}  // namespace vistrel::testing
