// The editing commands on a picture window: what each passes to the
// engine, undo, availability, the busy rule, the clipboard and free-hand
// drawing.
#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include "settings/other_options.h"
#include "commands/command_table.h"
#include "imaging/operations/resample.h"
#include "picture/TSolidColorDialog.h"
#include "picture/editing_commands.h"
#include "window_fixture.h"
#include "dialog_answers.h"

namespace vistrel::testing {
namespace {

class EditingTest : public PictureWindowTest {
 protected:
  void SetUp() override {
    PictureWindowTest::SetUp();
    SetDesktop({{TScreenRect{0, 0, 300, 200}, true, "ONE"}});
    window_ = NewWindow();
  }
  void TearDown() override {
    window_.reset();
    PictureWindowTest::TearDown();
  }

  TPictureView& View() { return *window_->PictureView1; }
  TPictureBitmap& Picture() { return View().Picture(); }
  TUndoStack& Undo() { return window_->Document().Undo(); }
  void Run(int command) { commands_.Action(command)->trigger(); }
  void OpenEditMenu() {
    QMenu* edit = window_->findChild<QMenu*>("EditMenu");
    emit edit->aboutToShow();
  }

  std::unique_ptr<TMainForm1> window_;
};

TEST_F(EditingTest, PictureFunctionsPassTheirArgumentsToTheEngine) {
  commands_.SetChecked(cmd::kQualityRotate, false);  // "Quality rotate"
  const struct {
    int command;
    const char* caption;
    std::function<bool(TPictureProc&)> expected;
  } cases[] = {
      {11, "ConvertToGray", [](TPictureProc& p) { return p.ConvertToGray(); }},
      {12, "Negative", [](TPictureProc& p) { return p.Negative(); }},
      {13, "Flip", [](TPictureProc& p) { return p.Flip(TFlipDirection::Horizontal); }},
      {14, "Flip", [](TPictureProc& p) { return p.Flip(TFlipDirection::Vertical); }},
      {16, "ApplyFilter", [](TPictureProc& p) { return p.ApplyFilter(kSharpenKernel, 16); }},
      {28, "Rotate 90", [](TPictureProc& p) { return p.Rotate(90, false); }},
      {29, "HSLvar 0,0,4", [](TPictureProc& p) { return p.HSLvar(0, 0, 4); }},
      {30, "Contrast 2", [](TPictureProc& p) { return p.Contrast(2); }},
  };
  for (const auto& c : cases) {
    TPictureBitmap expected = Picture();
    TPictureProc proc(expected);
    ASSERT_TRUE(c.expected(proc));
    Run(c.command);
    EXPECT_EQ(Undo().NewestCaption(), c.caption);
    EXPECT_TRUE(Picture() == expected) << c.caption;
  }
  // A quarter turn swaps the sides.
  EXPECT_EQ(Picture().Width(), 200);
  EXPECT_EQ(Picture().Height(), 300);
}

TEST_F(EditingTest, SelectionLimitsTheColourFunctionsButNotTheMirror) {
  View().SelectRect(10, 10, 19, 19);
  const TColor outside = Picture().Pixel(5, 5);
  const TColor inside = Picture().Pixel(12, 12);
  Run(12);
  EXPECT_EQ(Picture().Pixel(5, 5), outside);
  EXPECT_EQ(Picture().Pixel(12, 12),
            MakeColor(255 - RedOf(inside), 255 - GreenOf(inside), 255 - BlueOf(inside)));
  const TColor left = Picture().Pixel(0, 100);
  Run(13);
  EXPECT_EQ(Picture().Pixel(299, 100), left);
}

TEST_F(EditingTest, EditMenuCountsUndoEntriesUpToSixteen) {
  const TPictureBitmap original = Picture();
  OpenEditMenu();
  EXPECT_EQ(commands_.Action(cmd::kUndo)->text(), "Undo");
  EXPECT_FALSE(commands_.Action(cmd::kUndo)->isEnabled());
  for (int i = 0; i < 3; ++i) Run(12);
  OpenEditMenu();
  EXPECT_EQ(commands_.Action(cmd::kUndo)->text(), "Undo (3)");
  EXPECT_TRUE(commands_.Action(cmd::kUndo)->isEnabled());
  for (int i = 0; i < 14; ++i) Run(12);
  OpenEditMenu();
  EXPECT_EQ(commands_.Action(cmd::kUndo)->text(), "Undo (16)");
  // Sixteen undos go back to the picture after the first operation: the
  // original is gone.
  for (int i = 0; i < 16; ++i) Run(15);
  EXPECT_FALSE(Picture() == original);
  OpenEditMenu();
  EXPECT_EQ(commands_.Action(cmd::kUndo)->text(), "Undo");
}

TEST_F(EditingTest, UndoRestoresAndResetsTheModeEmptyUndoBeeps) {
  const TPictureBitmap original = Picture();
  const int beeps = beeper_.beeps;
  Run(28);
  View().SetMouseInteract(TPictureView::miSelectCircle);
  View().SelectRect(1, 1, 50, 50);
  Run(15);
  EXPECT_TRUE(Picture() == original);
  EXPECT_FALSE(View().HasSelection());
  EXPECT_EQ(View().MouseInteract(), TPictureView::TMouseInteract(TPictureView::miSelect));
  EXPECT_FALSE(window_->ToolButton(TMainForm1::tbCrop)->isEnabled());
  EXPECT_EQ(View().Hint(), "Drag Rectangle or Right click for more options");
  EXPECT_EQ(beeper_.beeps, beeps);
  // The stack is empty now; the command is still enabled until the Edit
  // menu opens, and then only beeps.
  commands_.Action(cmd::kUndo)->setEnabled(true);
  Run(15);
  EXPECT_EQ(beeper_.beeps, beeps + 1);
  EXPECT_TRUE(Picture() == original);
}

TEST_F(EditingTest, BusyRefusesThePictureFunctionsButNotUndo) {
  Run(12);
  context_.picture.PictureBusy = true;
  const TPictureBitmap before = Picture();
  for (int n : {11, 12, 13, 14, 16, 28, 29, 30, 35, 42}) Run(n);
  EXPECT_TRUE(Picture() == before);
  EXPECT_EQ(Undo().UndoDepth(), 1);
  View().SelectRect(1, 1, 9, 9);
  window_->findChild<QMenu*>("EditMenu")->actions().at(1)->trigger();  // "Undo Selection"
  EXPECT_TRUE(View().HasSelection());
  context_.picture.PictureBusy = false;
  context_.picture.PictureBusy = true;
  Run(15);
  EXPECT_EQ(Undo().UndoDepth(), 0);
  context_.picture.PictureBusy = false;
}

TEST_F(EditingTest, CommandsArrivingDuringAnOperationAreRefused) {
  // The progress handler lets events run: a command queued now arrives in
  // the middle of the resize.
  int arrived = 0;
  QTimer::singleShot(0, window_.get(), [&] {
    ++arrived;
    Run(15);
    Run(12);
    Run(7);
  });
  Run(42);
  EXPECT_EQ(arrived, 1);
  EXPECT_EQ(Undo().UndoDepth(), 1);
  EXPECT_EQ(Picture().Width(), 1600);
  EXPECT_EQ(Picture().Height(), 1200);
}

TEST_F(EditingTest, ResizePresetsTakeTheQualityFilterOnlyWithQualityZoom) {
  const TPictureBitmap original = Picture();
  context_.picture.ResampleFilter = TResampleFilter::rfBell;
  TProgress none;
  commands_.SetChecked(cmd::kQualityZoom, true);
  Run(35);
  EXPECT_EQ(Undo().NewestCaption(), "Resample 640,480");
  EXPECT_TRUE(Picture() == ResamplePicture(original, 640, 480, TResampleFilter::rfBell, none));
  Run(15);
  commands_.SetChecked(cmd::kQualityZoom, false);
  Run(40);
  EXPECT_TRUE(Picture() == ResamplePicture(original, 768, 576, TResampleFilter::rfNone, none));
}

TEST_F(EditingTest, CropRunsOnlyWhileTheCropButtonIsEnabled) {
  View().SelectRect(10, 20, 109, 69);
  commands_.SetEnabled(cmd::kCrop, true);
  Run(8);  // the button is still disabled
  EXPECT_EQ(Picture().Width(), 300);
  emit View().OnSelectionChanging();
  EXPECT_TRUE(window_->ToolButton(TMainForm1::tbCrop)->isEnabled());
  const TColor corner = Picture().Pixel(10, 20);
  Run(8);
  EXPECT_EQ(Picture().Width(), 100);
  EXPECT_EQ(Picture().Height(), 50);
  EXPECT_EQ(Picture().Pixel(0, 0), corner);
  EXPECT_FALSE(window_->ToolButton(TMainForm1::tbCrop)->isEnabled());
  EXPECT_FALSE(commands_.Action(cmd::kCrop)->isEnabled());
  EXPECT_EQ(View().Hint(), "Drag Rectangle or Right click for more options");
}

TEST_F(EditingTest, AutoCropCropsEveryNewSelectionAndCopiesWithAutomaticClipboard) {
  commands_.SetChecked(cmd::kAutoCrop, true);
  commands_.SetChecked(cmd::kAutomaticToClipboard, true);
  QApplication::clipboard()->clear();
  View().SelectRect(0, 0, 63, 31);
  emit View().OnSelectionChanging();
  emit View().OnSelectionChange();
  EXPECT_EQ(Picture().Width(), 64);
  EXPECT_EQ(Picture().Height(), 32);
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(64, 32));
}

TEST_F(EditingTest, CutWhitensTheSelectionAndLeavesTheClipboard) {
  QApplication::clipboard()->setText("kept");
  View().SelectRect(10, 10, 19, 19);
  emit View().OnSelectionChanging();
  Run(7);
  EXPECT_EQ(Picture().Pixel(12, 12), kWhite);
  EXPECT_NE(Picture().Pixel(9, 9), kWhite);
  EXPECT_FALSE(View().HasSelection());
  EXPECT_FALSE(window_->ToolButton(TMainForm1::tbCut)->isEnabled());
  EXPECT_EQ(Undo().NewestCaption(), "ClearSel");
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
}

TEST_F(EditingTest, PasteTakesAPictureAndIgnoresText) {
  QApplication::clipboard()->setText("only text");
  Run(6);
  EXPECT_EQ(Undo().UndoDepth(), 0);
  EXPECT_EQ(Picture().Width(), 300);

  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(QColor(1, 2, 3));
  QApplication::clipboard()->setImage(image);
  View().SelectRect(1, 1, 5, 5);
  Run(6);
  EXPECT_EQ(Undo().NewestCaption(), "PasteFromClipboard");
  EXPECT_EQ(Picture().Width(), 40);
  EXPECT_EQ(Picture().Pixel(39, 29), MakeColor(1, 2, 3));
  EXPECT_FALSE(View().HasSelection());
  EXPECT_FALSE(View().PaintLocked());
}

TEST_F(EditingTest, APictureTooLargeToPasteIsReportedAndChangesNothing) {
  Run(12);
  const TPictureBitmap before = Picture();
  // Just beyond the program's limit; one bit a pixel keeps the test small.
  QImage huge(16385, 16385, QImage::Format_Mono);
  huge.fill(1);
  QApplication::clipboard()->setImage(huge);
  QString message;
  DialogAnswers answers({[&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_TRUE(box);
    message = box->text();
    box->accept();
  }});
  Run(6);
  EXPECT_FALSE(message.isEmpty());
  EXPECT_TRUE(Picture() == before);
  EXPECT_EQ(Undo().UndoDepth(), 1);
  EXPECT_FALSE(View().PaintLocked());
  QApplication::clipboard()->clear();
}

TEST_F(EditingTest, PasteTakesAFortyEightMegapixelPngAndReportsOneItCannotRead) {
  // As another program offers a screenshot: PNG bytes only. Decoded, it
  // is larger than Qt's own reader limit.
  QImage shot(8000, 6000, QImage::Format_RGB888);
  shot.fill(QColor(10, 20, 30));
  QByteArray png;
  {
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(shot.save(&buffer, "PNG", 80));
  }
  shot = QImage();
  QString message;
  const auto report = [&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_TRUE(box);
    message = box->text();
    box->accept();
  };
  auto* mime = new QMimeData;
  mime->setData("image/png", png);
  QApplication::clipboard()->setMimeData(mime);
  {
    DialogAnswers refused({report});
    Run(6);
  }
  EXPECT_EQ(message, "");
  ASSERT_EQ(Picture().Width(), 8000);
  ASSERT_EQ(Picture().Height(), 6000);
  EXPECT_EQ(Picture().Pixel(7999, 5999), MakeColor(10, 20, 30));
  EXPECT_EQ(Undo().NewestCaption(), "PasteFromClipboard");

  mime = new QMimeData;
  mime->setData("image/png", png.left(1000));
  QApplication::clipboard()->setMimeData(mime);
  png.clear();
  DialogAnswers answers({report});
  Run(6);
  EXPECT_EQ(message, "The picture on the clipboard cannot be read. The picture was not changed.");
  EXPECT_EQ(Picture().Width(), 8000);
  EXPECT_EQ(Undo().UndoDepth(), 1);
  EXPECT_FALSE(View().PaintLocked());
  QApplication::clipboard()->clear();
}

TEST_F(EditingTest, UndoSelectionAndCircularArea) {
  Run(23);
  EXPECT_EQ(View().MouseInteract(), TPictureView::TMouseInteract(TPictureView::miSelectCircle));
  EXPECT_EQ(View().Hint(), "Drag a Circular Area or Right click for advanced Options");
  View().SelectRect(1, 1, 9, 9);
  emit View().OnSelectionChanging();
  window_->findChild<QMenu*>("EditMenu")->actions().at(1)->trigger();  // "Undo Selection"
  EXPECT_EQ(View().Hint(), "Drag Rectangle or Right click for more options");
  EXPECT_FALSE(View().HasSelection());
  EXPECT_EQ(View().MouseInteract(), TPictureView::TMouseInteract(TPictureView::miSelect));
  EXPECT_FALSE(window_->ToolButton(TMainForm1::tbCut)->isEnabled());
}

// ---- free-hand drawing -----------------------------------------------------

DialogAnswers::Step Answer(QMessageBox::StandardButton button) {
  return [button](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), "Last used selections ?");
    box->button(button)->click();
  };
}

// Clicks the basic colour `colour` and OK.
DialogAnswers::Step PickColour(QColor colour) {
  return [colour](QWidget* w) {
    auto* dialog = qobject_cast<TSolidColorDialog*>(w);
    ASSERT_TRUE(dialog);
    for (int i = 0; i < TSolidColorDialog::kColorCount; ++i)
      if (TSolidColorDialog::BasicColor(i) == colour) dialog->Swatch(i)->click();
    EXPECT_EQ(dialog->SelectedColor(), colour);
    dialog->accept();
  };
}

DialogAnswers::Step TypeWidth(QString text, QString* prefilled = nullptr) {
  return [text, prefilled](QWidget* w) {
    auto* dialog = qobject_cast<QInputDialog*>(w);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Pen Width");
    EXPECT_EQ(dialog->labelText(), "Enter Width (1-10)");
    if (prefilled) *prefilled = dialog->textValue();
    dialog->setTextValue(text);
    dialog->accept();
  };
}

TEST_F(EditingTest, PenWidthIsAskedUntilItIsAWholeNumber) {
  QString prefilled;
  DialogAnswers answers({Answer(QMessageBox::No), PickColour(QColor(0, 0, 255)),
                         TypeWidth("abc", &prefilled), TypeWidth("2.5"), TypeWidth("7")});
  Run(26);
  EXPECT_TRUE(answers.AllAnswered());
  EXPECT_EQ(prefilled, "2");
  EXPECT_EQ(window_->Editing()->PenWidth(), 7);
  EXPECT_EQ(window_->Editing()->PenColor(), QColor(0, 0, 255));
  const PenOptions stored = PenOptions::Load(SettingsStore());
  EXPECT_EQ(stored.PenSize, 7);
  EXPECT_EQ(stored.PenColor, 0xFF0000);
}

TEST_F(EditingTest, PenWidthOutOfRangeBecomesTwoAndYesKeepsTheStoredPen) {
  {
    DialogAnswers answers({Answer(QMessageBox::No), PickColour(Qt::red), TypeWidth("11")});
    Run(26);
  }
  EXPECT_EQ(window_->Editing()->PenWidth(), 2);
  {
    SettingsStore store;
    PenOptions{0x00FF00, 9}.Save(store);
    store.Close();
  }
  DialogAnswers answers({Answer(QMessageBox::Yes)});
  Run(26);
  EXPECT_EQ(window_->Editing()->PenWidth(), 9);
  EXPECT_EQ(window_->Editing()->PenColor(), QColor(0, 255, 0));
}

TEST_F(EditingTest, FreeHandDrawsOneStrokeThenSelectsAgain) {
  {
    SettingsStore store;
    PenOptions{0x0000FF, 1}.Save(store);
    store.Close();
  }
  window_->show();
  QApplication::processEvents();
  View().SelectRect(1, 1, 9, 9);
  DialogAnswers answers({Answer(QMessageBox::Yes)});
  Run(26);
  EXPECT_EQ(Undo().UndoDepth(), 1);
  EXPECT_EQ(View().Cursor(), int(crPen));
  EXPECT_FALSE(View().HasSelection());
  EXPECT_EQ(View().Hint(), "Draw on Picture with Left mouse button");
  EXPECT_EQ(View().MouseInteract(), TPictureView::TMouseInteract());

  // Pressed at picture (50, 40); each move draws to the point 2 up and left.
  const int x0 = View().PictureToScreenX(50), y = View().PictureToScreenY(40);
  emit View().OnMouseDown(Qt::LeftButton, Qt::NoModifier, x0, y);
  emit View().OnMouseMove(Qt::LeftButton, Qt::NoModifier, View().PictureToScreenX(82), y + 2);
  emit View().OnMouseUp(Qt::LeftButton, Qt::NoModifier, View().PictureToScreenX(82), y + 2);
  for (int x = 52; x <= 80; ++x) EXPECT_EQ(Picture().Pixel(x, 40), MakeColor(255, 0, 0)) << x;
  EXPECT_NE(Picture().Pixel(85, 40), MakeColor(255, 0, 0));
  EXPECT_EQ(View().Cursor(), int(crSelect));
  EXPECT_EQ(View().MouseInteract(), TPictureView::TMouseInteract(TPictureView::miSelect));
  EXPECT_EQ(View().Hint(), "Drag a Rectangle or Right click for advanced Options");
  // The second stroke no longer draws.
  const TPictureBitmap after = Picture();
  emit View().OnMouseDown(Qt::LeftButton, Qt::NoModifier, x0, y + 20);
  emit View().OnMouseMove(Qt::LeftButton, Qt::NoModifier, x0 + 30, y + 20);
  EXPECT_TRUE(Picture() == after);
  Run(15);
  EXPECT_NE(Picture().Pixel(60, 40), MakeColor(255, 0, 0));
}

}  // namespace
}  // namespace vistrel::testing
