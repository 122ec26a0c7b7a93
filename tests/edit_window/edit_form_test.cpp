// The standard editing window's controls and what each does to the picture
// window's picture and to the stored recipe.
#include <QDialog>
#include <QCheckBox>
#include <QAbstractButton>
#include <QWindow>
#include <QComboBox>
#include <QDropEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QUrl>

#include "edit_form_fixture.h"
#include "commands/command_table.h"
#include "picture/ColorBox.h"
#include "picture/TSolidColorDialog.h"

namespace vistrel::testing {
namespace {

using S = TEditForm1;

TEST_F(EditFormTest, OpensTopRightWithGrayscaleCurrentAndRunsTheRecipe) {
  TPictureRecipe stored;
  stored.CheckBoxItem[efInvert] = true;
  StoreRecipe(stored);
  form_ = std::make_unique<TEditForm1>();
  form_->LendServices(context_);
  const TColor before = Picture().Pixel(3, 4);
  EXPECT_TRUE(commands_.Action(cmd::kStandardEditing)->isEnabled());
  OpenForm();
  ASSERT_TRUE(form_->isVisible());
  EXPECT_EQ(form_->windowTitle(), "Standard Picture Editing Window");
  EXPECT_TRUE(form_->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(form_->pos().y(), 2);
  const int screen_width = QGuiApplication::primaryScreen()->geometry().width();
  EXPECT_EQ(form_->frameGeometry().right() + 1, screen_width - 2);
  EXPECT_EQ(form_->CheckListBox1->currentRow(), int(efGrayscale));
  // The batch disables the list; it gets the focus back.
  EXPECT_EQ(form_->focusWidget(), form_->CheckListBox1);
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"Negative"});
  EXPECT_EQ(Picture().Pixel(3, 4), before ^ 0xFFFFFFu);
  EXPECT_FALSE(context_.picture.PictureBusy);
  EXPECT_FALSE(Window().PictureView1->PaintLocked());
  EXPECT_EQ(form_->WidthEdit->text(), "1024");
  EXPECT_EQ(form_->HeightEdit->text(), "768");
  EXPECT_TRUE(form_->AdvancedEditor->isEnabled());
  EXPECT_EQ(form_->SaveAsDefault->text(), "Save as &Default");
}

TEST_F(EditFormTest, BusyPictureRunsNothing) {
  OpenForm();
  const int depth = Window().Document().Undo().UndoDepth();
  context_.picture.PictureBusy = true;
  form_->Sliders[S::slBrightness]->setValue(30);
  form_->SharpenMore->click();
  form_->ChangeButton->click();
  Window().ApplyPictureOptions();
  context_.picture.PictureBusy = false;
  EXPECT_EQ(Window().Document().Undo().UndoDepth(), depth);
}

TEST_F(EditFormTest, SlidersRunOnReleaseAndLockedColoursMoveTogether) {
  OpenForm();
  QSlider* red = form_->Sliders[S::slRed];
  form_->Locks[0]->setChecked(true);
  form_->Locks[2]->setChecked(true);
  red->setSliderDown(true);
  red->setValue(40);
  EXPECT_EQ(form_->SliderValues[S::slRed]->text(), "40");
  EXPECT_EQ(form_->Sliders[S::slBlue]->value(), 40);
  EXPECT_EQ(form_->Sliders[S::slGreen]->value(), 0);
  EXPECT_TRUE(UndoCaptions().empty());  // still dragging
  red->setSliderDown(false);
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"IntensityRGBall 40,0,40"});

  // An arrow or track click runs at once; each run adds to the picture.
  form_->Sliders[S::slGreen]->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(UndoCaptions().back(), "IntensityRGBall 40,10,40");
  EXPECT_EQ(form_->Sliders[S::slRed]->value(), 40);
}

TEST_F(EditFormTest, EffectsListTogglesRunsAndComesBackEnabled) {
  OpenForm();
  QListWidget* list = form_->CheckListBox1;
  list->setCurrentRow(efInvert);
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(list->item(efInvert)->checkState(), Qt::Checked);
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"Negative"});
  EXPECT_TRUE(list->isEnabled());
  EXPECT_EQ(form_->focusWidget(), list);

  const QRect row = list->visualItemRect(list->item(efHorizontalMirror));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_EQ(list->item(efHorizontalMirror)->checkState(), Qt::Checked);
  EXPECT_EQ(UndoCaptions(), (std::vector<std::string>{"Negative", "Negative", "Flip"}));

  // A right click still enables a disabled list.
  list->setEnabled(false);
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, row.center());
  EXPECT_TRUE(list->isEnabled());
}

TEST_F(EditFormTest, TurnNinetyHoldsTheRotationSlider) {
  OpenForm();
  QListWidget* list = form_->CheckListBox1;
  QSlider* rotation = form_->Sliders[S::slRotation];
  const QRect row = list->visualItemRect(list->item(efTurn90));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_EQ(rotation->value(), 90);
  EXPECT_FALSE(rotation->isEnabled());
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"Rotate 90"});
  EXPECT_EQ(Picture().Width(), 768);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_EQ(rotation->value(), 0);
  EXPECT_TRUE(rotation->isEnabled());
}

TEST_F(EditFormTest, ColourDepthConvertsAtOnceThenRunsTheRecipe) {
  OpenForm();
  QComboBox* depth = form_->ColorDepthBox;
  EXPECT_EQ(depth->currentText(), "65K Colors");
  depth->setCurrentIndex(cdBlackWhite);
  emit depth->activated(cdBlackWhite);
  EXPECT_TRUE(Picture().IsMono());
  // The conversion, then the batch, whose own conversion finds nothing to do.
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"ConvertToBWThreshold -1"});
  EXPECT_FALSE(depth->isEnabled());
  QApplication::processEvents();
  EXPECT_TRUE(depth->isEnabled());
}

TEST_F(EditFormTest, SizeListResizesOnceWithoutTheRecipe) {
  OpenForm();
  form_->CheckListBox1->item(efInvert)->setCheckState(Qt::Checked);
  form_->SizeBox->setCurrentIndex(1);
  emit form_->SizeBox->activated(1);
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"Resample 640,480"});
  EXPECT_EQ(form_->WidthEdit->text(), "640");
}

TEST_F(EditFormTest, ProportionalFieldsAndChangeOnAPortraitPicture) {
  SetDesktop({{TScreenRect{0, 0, 300, 600}, true, "ONE"}});
  OpenForm();
  ASSERT_EQ(form_->WidthEdit->text(), "300");
  ASSERT_EQ(form_->HeightEdit->text(), "600");
  form_->Proportional->click();
  form_->Proportional->click();
  EXPECT_TRUE(form_->Proportional->isChecked());
  EXPECT_EQ(form_->WidthEdit->text(), "300");
  EXPECT_EQ(form_->HeightEdit->text(), "600");

  form_->WidthEdit->setFocus();
  form_->WidthEdit->selectAll();
  QTest::keyClicks(form_->WidthEdit, "100");
  emit form_->WidthEdit->editingFinished();
  EXPECT_EQ(form_->HeightEdit->text(), "200");
  form_->ChangeButton->click();
  EXPECT_EQ(Picture().Width(), 100);
  EXPECT_EQ(Picture().Height(), 200);
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"Resample 100,200"});

  // Unchecked, the fields are independent; small values become 16.
  form_->Proportional->click();
  QTest::keyClicks(form_->HeightEdit, "");
  form_->HeightEdit->setText("");
  emit form_->HeightEdit->textEdited("");
  QTest::keyClicks(form_->HeightEdit, "5");
  emit form_->HeightEdit->editingFinished();
  EXPECT_EQ(form_->WidthEdit->text(), "100");
  form_->ChangeButton->click();
  EXPECT_EQ(Picture().Height(), 16);
  // Nothing edited: Change does nothing.
  form_->ChangeButton->click();
  EXPECT_EQ(Window().Document().Undo().UndoDepth(), 2);
}

TEST_F(EditFormTest, EmptyFieldOrRefusedSizeIsReportedAndChangesNothing) {
  OpenForm();
  form_->WidthEdit->setText("");
  emit form_->WidthEdit->textEdited("");
  {
    BoxCatcher box;
    form_->ChangeButton->click();
    EXPECT_TRUE(box.seen);
    EXPECT_EQ(box.text, "'' is not a valid integer value");
    EXPECT_EQ(box.title, "Vistrel-Pro");
  }
  EXPECT_EQ(Picture().Width(), 1024);
  EXPECT_EQ(Window().Document().Undo().UndoDepth(), 0);
  EXPECT_FALSE(context_.picture.PictureBusy);
}

TEST_F(EditFormTest, SaveResetAndCloseKeepOnlyWhatWasSaved) {
  OpenForm();
  form_->Sliders[S::slZoom]->setValue(50);
  form_->FrameSize->setValue(3);
  form_->SaveAsDefault->click();
  TPictureRecipe stored = StoredRecipe();
  EXPECT_EQ(stored.RZoom, 50);
  EXPECT_EQ(stored.RFrameSize, 3);

  form_->Sliders[S::slBrightness]->setValue(60);
  form_->CloseButton->click();
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(form_->Sliders[S::slBrightness]->value(), 0);
  EXPECT_EQ(form_->Sliders[S::slZoom]->value(), 50);

  // Reset reads the store and runs it.
  form_->Sliders[S::slContrast]->setValue(30);
  const int depth = Window().Document().Undo().UndoDepth();
  form_->ResetButton->click();
  EXPECT_EQ(form_->Sliders[S::slContrast]->value(), 0);
  EXPECT_GT(Window().Document().Undo().UndoDepth(), depth);

  // After "Reset to Default and Exit" nothing is written.
  context_.flags.ResetPending = true;
  form_->Sliders[S::slZoom]->setValue(70);
  form_->SaveAsDefault->click();
  EXPECT_EQ(StoredRecipe().RZoom, 50);
}

TEST_F(EditFormTest, EscapeClosesAndTheClosingPictureWindowClosesTheForm) {
  OpenForm();
  QTest::keyClick(form_.get(), Qt::Key_Escape);
  EXPECT_FALSE(form_->isVisible());
  OpenForm();
  QTest::keyClick(form_->CheckListBox1, Qt::Key_Return);
  EXPECT_FALSE(form_->isVisible());
  OpenForm();
  window_.reset();
  EXPECT_FALSE(form_->isVisible());
}

TEST_F(EditFormTest, ColourBoxDropTakesThePixelUnderThePointer) {
  OpenForm();
  TPictureView* view = Window().PictureView1;
  view->resize(400, 300);
  const QPoint at(37, 21);
  const TColor want =
      Picture().Pixel(view->ScreenToPictureX(at.x()), view->ScreenToPictureY(at.y()));
  QMimeData box_data;
  box_data.setData(TColorBox::kMimeType, "4");
  QDropEvent drop(at, Qt::CopyAction, &box_data, Qt::LeftButton, {});
  emit view->OnDragDrop(&drop);
  EXPECT_EQ(form_->ColorBoxes[S::bxFrame]->Color(), want);
  EXPECT_TRUE(UndoCaptions().empty());  // a drop runs nothing

  // A file from the desktop does nothing.
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile("/tmp/x.png")});
  QDropEvent file_drop(at, Qt::CopyAction, &file, Qt::LeftButton, {});
  emit view->OnDragDrop(&file_drop);
  EXPECT_EQ(form_->ColorBoxes[S::bxFrame]->Color(), want);
}

TEST_F(EditFormTest, SubstituteSwapSharpenAndBlurRunOnceEach) {
  OpenForm();
  form_->SubstituteColors->click();
  form_->SwapColors->click();
  form_->SharpenMore->click();
  form_->BlurMore->click();
  EXPECT_EQ(UndoCaptions(), (std::vector<std::string>{"CastColorRange", "SwapColors", "ApplyFilter",
                                                      "ApplyFilter"}));
}

TEST_F(EditFormTest, FirstPaintAndTheCaptureRunTheStoredRecipe) {
  TPictureRecipe stored;
  stored.CheckBoxItem[efGrayscale] = true;
  stored.RFrameSize = 2;
  StoreRecipe(stored);
  form_ = std::make_unique<TEditForm1>();
  form_->LendServices(context_);
  Window().show();
  QApplication::processEvents();
  EXPECT_EQ(Picture().Width(), 1028);
  const TColor c = Picture().Pixel(100, 50);
  EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c));
  EXPECT_FALSE(context_.picture.PictureBusy);
}

}  // namespace
}  // namespace vistrel::testing

namespace vistrel::testing {
namespace {

TEST_F(EditFormTest, AdvancedEditorOpensTheEffectsDialogAboveItOnTheSamePicture) {
  OpenForm();
  const int depth = Window().Document().Undo().UndoDepth();
  QString title;
  QWidget* parent = nullptr;
  QWindow* transient_parent = nullptr;
  bool on_top = false;
  // The dialog computes its first preview before it runs its own loop, so
  // wait for it to become the modal window.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, qApp, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    poll.stop();
    title = dialog->windowTitle();
    parent = dialog->parentWidget();
    transient_parent = dialog->windowHandle()->transientParent();
    on_top = dialog->windowFlags() & Qt::WindowStaysOnTopHint;
    dialog->reject();
  });
  poll.start(20);
  form_->AdvancedEditor->click();
  EXPECT_EQ(title, "Previews");
  // Owned by the editing window, which stays on top: it is not beneath it.
  EXPECT_EQ(parent, form_.get());
  EXPECT_EQ(transient_parent, form_->windowHandle());
  EXPECT_TRUE(on_top);
  EXPECT_EQ(Window().Document().Undo().UndoDepth(), depth);  // Cancel changes nothing
}

TEST_F(EditFormTest, RightClickOnAColourBoxChoosesAColourAndRunsTheRecipe) {
  OpenForm();
  form_->SubstituteColors->setChecked(true);
  bool seen = false;
  const QColor basic = TSolidColorDialog::BasicColor(7);
  QTimer::singleShot(0, qApp, [&] {
    auto* dialog = qobject_cast<TSolidColorDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    seen = true;
    EXPECT_EQ(dialog->SelectedColor(), QColor(0, 0, 0));
    dialog->Swatch(7)->click();
    dialog->accept();
  });
  QTest::mousePress(form_->ColorBoxes[TEditForm1::bxSubstitute1], Qt::RightButton);
  EXPECT_TRUE(seen);
  EXPECT_EQ(form_->ColorBoxes[TEditForm1::bxSubstitute1]->Color(),
            MakeColor(std::uint8_t(basic.red()), std::uint8_t(basic.green()),
                      std::uint8_t(basic.blue())));
  EXPECT_EQ(UndoCaptions(), std::vector<std::string>{"CastColorRange"});
}

}  // namespace
}  // namespace vistrel::testing
