// The picture window's captures on the frozen desktop, run whole through
// their modal windows: Rect., Define Capture Rectangle and Object, with the
// busy flag, the undo entry and the window shown again also after a failure.
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>

#include "commands/command_table.h"
#include "capture/forms/TFullRectForm1.h"
#include "capture/forms/TObjectForm1.h"
#include "capture/forms/area_selection.h"
#include "capture/forms/object_picking.h"
#include "picture/MainFormTexts.h"
#include "tests/capture_area/area_fixture.h"
#include "tests/picture_window/dialog_answers.h"

namespace vistrel::testing {
namespace {


class WindowCaptureTest : public PictureWindowTest {
 protected:
  void SetUp() override {
    PictureWindowTest::SetUp();
    window_ = NewWindow();
    window_->show();
  }

  FakeWindowSource& Windows() { return static_cast<FakeWindowSource&>(*platform_.windows); }
  void GetPictureOfVistrel() {
    FindItem(window_->findChild<QMenu*>("FileMenu"), "Get picture of Vistrel-Pro")->trigger();
  }

  std::unique_ptr<TMainForm1> window_;
  bool busy_while_shown_ = false;
  bool window_hidden_while_shown_ = false;
};

void PressKey(QWidget& widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
}

TEST_F(WindowCaptureTest, RectReplacesThePictureWithOneUndoEntry) {
  commands_.SetChecked(cmd::kAutoCrop, true);
  window_->PictureView1->SelectRect(1, 1, 5, 5);
  WhenShown<TFullRectForm1>([this](TFullRectForm1& form) {
    busy_while_shown_ = context_.picture.PictureBusy;
    window_hidden_while_shown_ = !window_->isVisible();
    Drag(*form.PictureView1, {10, 20}, {49, 29});
  });
  SelectAreaIntoPicture(*window_);
  EXPECT_TRUE(busy_while_shown_);
  EXPECT_TRUE(window_hidden_while_shown_);
  EXPECT_FALSE(context_.picture.PictureBusy);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(PictureShowsDesktop(window_->PictureView1->Picture(), {10, 20, 50, 30}));
  EXPECT_EQ(window_->Document().Undo().UndoDepth(), 1);
  TPictureBitmap previous;
  window_->Document().Undo().RestoreUndo(previous);
  EXPECT_TRUE(PictureShowsDesktop(previous, {0, 0, 1024, 768}));
}

TEST_F(WindowCaptureTest, DefineStoresTheRectangleAndLeavesThePicture) {
  const TPictureBitmap before = window_->PictureView1->Picture();
  WhenShown<TFullRectForm1>([this](TFullRectForm1& form) {
    EXPECT_TRUE(context_.capture.DefineRectMode);
    EXPECT_TRUE(form.PictureView1->HasSelection());  // the stored rectangle
    // A new rectangle starts outside the stored one.
    Drag(*form.PictureView1, {1023, 767}, {200, 100});
    PressKey(form, Qt::Key_Return);
  });
  DefineCaptureRectangle(*window_);
  EXPECT_EQ(context_.capture.CustomCaptureRect, (TScreenRect{200, 100, 1024, 768}));
  EXPECT_FALSE(context_.capture.DefineRectMode);
  EXPECT_FALSE(context_.picture.PictureBusy);
  EXPECT_EQ(window_->PictureView1->Picture(), before);
  EXPECT_EQ(window_->Document().Undo().UndoDepth(), 0);
  // Stored when the window goes.
  window_.reset();
  EXPECT_EQ(StoredInteger("CustomLeft"), 200);
  EXPECT_EQ(StoredInteger("CustomRight"), 1024);
  EXPECT_EQ(StoredInteger("CustomBottom"), 768);
}

TEST_F(WindowCaptureTest, FailingCaptureClosesTheOverlayAndShowsTheWindow) {
  // A desktop too big to freeze: the grab fails while the window is hidden.
  Screen().monitors = {{TScreenRect{0, 0, 30000, 30000}, true, "HUGE"}};
  context_.capture.CaptureBounds = {0, 0, 30000, 30000};
  EXPECT_THROW(DefineCaptureRectangle(*window_), PictureSizeError);
  EXPECT_FALSE(context_.picture.PictureBusy);
  EXPECT_FALSE(context_.capture.DefineRectMode);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_FALSE(ShownWindow<TFullRectForm1>());
  EXPECT_THROW(SelectAreaIntoPicture(*window_), PictureSizeError);
  EXPECT_FALSE(context_.picture.PictureBusy);
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(WindowCaptureTest, ObjectIsCutFromTheFrozenDesktop) {
  Windows().pointed = TPointedWindow{42, TScreenRect{300, 200, 420, 260}};
  WhenShown<TObjectForm1>([this](TObjectForm1& form) {
    EXPECT_EQ(form.Image1->toolTip(), TObjectForm1::kHint);
    EXPECT_EQ(form.Image1->PictureOffset(), QPoint(0, 0));
    // The live desktop changes after freezing; the pick shows it as frozen.
    Screen().desktop.Allocate(1024, 768);
    MouseAt(*form.Image1, QEvent::MouseButtonPress, {310, 210}, Qt::LeftButton, Qt::LeftButton);
    MouseAt(*form.Image1, QEvent::MouseButtonRelease, {310, 210}, Qt::LeftButton, Qt::NoButton);
  });
  PickObjectIntoPicture(*window_);
  EXPECT_TRUE(PictureShowsDesktop(window_->PictureView1->Picture(), {300, 200, 420, 260}));
  EXPECT_EQ(window_->Document().Undo().UndoDepth(), 1);
  EXPECT_FALSE(context_.picture.PictureBusy);
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(WindowCaptureTest, ObjectOverlayOutlinesTheWindowUnderThePointer) {
  Windows().pointed = TPointedWindow{42, TScreenRect{300, 200, 420, 260}};
  WhenShown<TObjectForm1>([this](TObjectForm1& form) {
    TFrozenDesktopView& view = *form.Image1;
    auto outlined = [&view](std::optional<TScreenRect> rect) {
      return QTest::qWaitFor([&] { return view.Highlight() == rect; }, 5000);
    };
    // Before any move: the window the pointer rests on.
    EXPECT_TRUE(outlined(TScreenRect{300, 200, 420, 260}));
    const QImage shown = form.grab().toImage();
    EXPECT_EQ(shown.pixelColor(300, 200), QColor(230, 0, 0));
    EXPECT_EQ(shown.pixelColor(419, 259), QColor(230, 0, 0));
    const TColor inside = DesktopColour(302, 202);
    EXPECT_EQ(shown.pixelColor(302, 202), QColor(RedOf(inside), GreenOf(inside), BlueOf(inside)));
    // The pointer moves to another window, then to none.
    Windows().pointed = TPointedWindow{43, TScreenRect{500, 300, 600, 400}};
    MouseAt(view, QEvent::MouseMove, {550, 350}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(outlined(TScreenRect{500, 300, 600, 400}));
    Windows().pointed.reset();
    MouseAt(view, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(outlined(std::nullopt));
    // Shift shows the magnifier here too, for as long as it is held.
    PressKey(form, Qt::Key_Shift);
    EXPECT_FALSE(view.MagnifierRect().isNull());
    QKeyEvent shift_up(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QApplication::sendEvent(&form, &shift_up);
    EXPECT_TRUE(view.MagnifierRect().isNull());
    Windows().pointed = TPointedWindow{43, TScreenRect{500, 300, 600, 400}};
    MouseAt(view, QEvent::MouseButtonPress, {550, 350}, Qt::LeftButton, Qt::LeftButton);
    MouseAt(view, QEvent::MouseButtonRelease, {550, 350}, Qt::LeftButton, Qt::NoButton);
  });
  PickObjectIntoPicture(*window_);
  // The outline was never part of the picture.
  EXPECT_TRUE(PictureShowsDesktop(window_->PictureView1->Picture(), {500, 300, 600, 400}));
}

TEST_F(WindowCaptureTest, ObjectGoneOrOnAnotherMonitor) {
  // Gone before the pick: the picture stays (its undo entry is there).
  const TPictureBitmap before = window_->PictureView1->Picture();
  Windows().pointed.reset();
  WhenShown<TObjectForm1>([](TObjectForm1& form) { PressKey(form, Qt::Key_Escape); });
  PickObjectIntoPicture(*window_);
  EXPECT_EQ(window_->PictureView1->Picture(), before);

  // Monitor 2 as bounds: its frozen image lies at its own screen place, and
  // a window across the boundary gives its part on monitor 2.
  SetDesktop({{TScreenRect{0, 0, 1920, 1080}, true, "ONE"},
              {TScreenRect{1920, 0, 2944, 768}, false, "TWO"}});
  context_.capture.CaptureBounds = {1920, 0, 2944, 768};
  Windows().pointed = TPointedWindow{7, TScreenRect{1800, 100, 2000, 150}};
  QPoint offset;
  WhenShown<TObjectForm1>([&offset](TObjectForm1& form) {
    offset = form.Image1->PictureOffset();
    PressKey(form, Qt::Key_Escape);  // Esc picks too
  });
  PickObjectIntoPicture(*window_);
  EXPECT_EQ(offset, QPoint(1920, 0));
  EXPECT_TRUE(PictureShowsDesktop(window_->PictureView1->Picture(), {1920, 100, 2000, 150}));
}

// What the modal dialogs shown meanwhile were: a message box's text, or
// the class of any other window (which is closed).
class ShownDialogs {
 public:
  ShownDialogs()
      : answers_({Record(), Record()}) {}
  std::vector<QString> seen;

 private:
  DialogAnswers::Step Record() {
    return [this](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      seen.push_back(box ? box->text() : dialog->metaObject()->className());
      dialog->close();
    };
  }
  DialogAnswers answers_;
};

TEST_F(WindowCaptureTest, ADesktopThatCannotBeReadIsNamedAndLeavesThePicture) {
  const TPictureBitmap before = window_->PictureView1->Picture();
  Screen().fail = true;
  const std::pair<const char*, std::function<void()>> captures[] = {
      {"Rect.", [this] { SelectAreaIntoPicture(*window_); }},
      {"Define", [this] { DefineCaptureRectangle(*window_); }},
      {"Object", [this] { PickObjectIntoPicture(*window_); }},
      {"Get picture of Vistrel-Pro", [this] { GetPictureOfVistrel(); }},
  };
  for (const auto& [name, capture] : captures) {
    SCOPED_TRACE(name);
    ShownDialogs dialogs;
    capture();
    // The box alone: no frozen desktop over a black picture.
    EXPECT_EQ(dialogs.seen,
              std::vector<QString>{"The screen could not be captured: the screen could not be read."});
    EXPECT_EQ(window_->PictureView1->Picture(), before);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(context_.picture.PictureBusy);
    EXPECT_FALSE(context_.capture.DefineRectMode);
  }
}

TEST_F(WindowCaptureTest, WhereTheDesktopPicksWindowsObjectIsItsPickAndLeavingIsQuiet) {
  TWindowPick pick;
  pick.picture.Allocate(40, 30);
  pick.picture.Fill(MakeColor(9, 8, 7));
  Windows().pick = pick;
  // The Object button's hint says who picks.
  EXPECT_EQ(NewWindow()->findChild<QAction*>("ToolButton_Object")->toolTip(),
            main_form_texts::kObjectPickHint);
  const std::size_t grabs = Screen().grabs.size();
  PickObjectIntoPicture(*window_);
  EXPECT_EQ(window_->PictureView1->Picture(), pick.picture);
  EXPECT_EQ(Screen().grabs.size(), grabs);

  // Get picture of Vistrel-Pro is the pick too; a pick left changes nothing.
  GetPictureOfVistrel();
  EXPECT_EQ(window_->PictureView1->Picture(), pick.picture);
  Windows().pick = TWindowPick{{}, true, "the screenshot was cancelled"};
  ShownDialogs dialogs;
  PickObjectIntoPicture(*window_);
  GetPictureOfVistrel();
  EXPECT_TRUE(dialogs.seen.empty());
  EXPECT_EQ(window_->PictureView1->Picture(), pick.picture);
  EXPECT_EQ(Windows().picks, 4);
}

}  // namespace
}  // namespace vistrel::testing
