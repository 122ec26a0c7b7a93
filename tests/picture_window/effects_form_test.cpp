// The effects dialog "Previews" and the "Advanced editing window" command.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "imaging/operations/effects.h"
#include "commands/command_table.h"
#include "picture/TEffectsForm.h"
#include "picture/effect_pages.h"
#include "dialog_answers.h"
#include "window_fixture.h"

namespace vistrel::testing {
namespace {

TPictureBitmap Photo(int w, int h) {
  TPictureBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, MakeColor(std::uint8_t(x * 3), std::uint8_t(y * 5), std::uint8_t(x ^ y)));
  return b;
}

TEST(EffectsForm, FourteenPagesInOrderOpeningOnContrast) {
  TEffectsForm form(Photo(50, 40));
  QStringList titles;
  for (int i = 0; i < form.Pages->count(); ++i) titles << form.Pages->tabText(i);
  EXPECT_EQ(titles, QStringList({"Contrast", "HSV", "HSL", "RGB", "User filter", "Equalization",
                                 "Bump map", "Lens", "Wave", "Morph filters", "Rotate", "FFT",
                                 "Gamma Correction", "Sharpen"}));
  EXPECT_EQ(form.windowTitle(), "Previews");
  EXPECT_EQ(form.PreviewButton->text(), "&Preview");
  EXPECT_EQ(form.LockPreview->text(), "Lock Preview");
  form.Pages->setCurrentIndex(5);
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.Pages->currentIndex(), 0);
  EXPECT_TRUE(qobject_cast<QSlider*>(QApplication::focusWidget()));
  form.close();
}

TEST(EffectsForm, ControlRangesAndNeutralValues) {
  TEffectsForm form(Photo(20, 20));
  const auto pages = EffectPages();
  for (int p = 0; p < form.PageCount(); ++p) {
    EXPECT_EQ(form.Values(p), NeutralValues(pages[std::size_t(p)])) << pages[std::size_t(p)].title;
    // Every page is the identity at its neutral values.
    form.Pages->setCurrentIndex(p);
    EXPECT_TRUE(form.Result() == Photo(20, 20)) << pages[std::size_t(p)].title;
  }
  // Ranges: a value beyond the end is held at the end.
  const struct {
    int page, control, tried, held;
  } ranges[] = {{0, 0, 500, 100},   {0, 1, -500, -100}, {1, 0, 999, 180},
                {2, 2, -999, -100}, {3, 0, 999, 255},   {3, 2, -999, -255},
                {5, 1, 999, 255},   {5, 0, -5, 0},      {10, 2, -999, -180}};
  for (const auto& r : ranges) {
    form.SetValue(r.page, r.control, r.tried);
    EXPECT_EQ(form.Values(r.page)[std::size_t(r.control)], r.held) << r.page << "/" << r.control;
  }
}

TEST(EffectsForm, PreviewWorksOnAReducedCopyAndLockPreviewFollowsEveryChange) {
  TEffectsForm form(Photo(960, 720));
  EXPECT_LE(form.PreviewSource().Width(), 240);
  form.SetValue(0, 1, 50);  // brightness, no preview yet
  EXPECT_TRUE(form.PreviewResult() == form.PreviewSource());
  form.PreviewButton->click();
  EXPECT_FALSE(form.PreviewResult() == form.PreviewSource());
  form.LockPreview->setChecked(true);
  form.SetValue(0, 1, 0);
  EXPECT_TRUE(form.PreviewResult() == form.PreviewSource());
  // OK computes the full size.
  form.SetValue(0, 0, 40);
  EXPECT_EQ(form.Result().Width(), 960);
}

class AdvancedEditingTest : public PictureWindowTest {
 protected:
  void SetUp() override {
    PictureWindowTest::SetUp();
    SetDesktop({{TScreenRect{0, 0, 120, 80}, true, "ONE"}});
    window_ = NewWindow();
  }
  // Runs the command; `step` works the dialog once it is open.
  void RunDialog(std::function<void(TEffectsForm&)> step) {
    bool opened = false;
    DialogAnswers answers({[&](QWidget* dialog) {
      auto* form = qobject_cast<TEffectsForm*>(dialog);
      ASSERT_TRUE(form);
      opened = true;
      step(*form);
    }});
    commands_.Action(cmd::kAdvancedEditing)->trigger();
    opened_ = opened;
  }
  TPictureBitmap& Picture() { return window_->PictureView1->Picture(); }

  std::unique_ptr<TMainForm1> window_;
  bool opened_ = false;
};

TEST_F(AdvancedEditingTest, CancelChangesNothingOkAppliesWithoutAPreview) {
  const TPictureBitmap original = Picture();
  RunDialog([](TEffectsForm& form) {
    form.SetValue(0, 1, 60);
    form.CancelButton->click();
  });
  EXPECT_TRUE(opened_);
  EXPECT_TRUE(Picture() == original);
  EXPECT_EQ(window_->Document().Undo().UndoDepth(), 0);

  RunDialog([](TEffectsForm& form) {
    form.Pages->setCurrentIndex(12);
    form.SetValue(12, 0, 200);
    QTest::keyClick(&form, Qt::Key_Return);
  });
  TPictureBitmap expected = original;
  TProgress none;
  EffectGamma(expected, 200, none);
  EXPECT_TRUE(Picture() == expected);
  EXPECT_EQ(window_->Document().Undo().UndoDepth(), 1);
  EXPECT_EQ(window_->Document().Undo().NewestCaption(), "Gamma Correction");
}

TEST_F(AdvancedEditingTest, AnEllipticalSelectionKeepsThePixelsOutsideIt) {
  const TPictureBitmap original = Picture();
  window_->PictureView1->Selection().SelectEllipse(60, 40, 20, 15);
  window_->PictureView1->UpdateView();
  RunDialog([](TEffectsForm& form) {
    form.SetValue(3, 0, 255);  // RGB: red up
    form.Pages->setCurrentIndex(3);
    form.OKButton->click();
  });
  EXPECT_EQ(RedOf(Picture().Pixel(60, 40)), 255);
  EXPECT_EQ(Picture().Pixel(41, 26), original.Pixel(41, 26));  // box corner, outside the ellipse
  EXPECT_EQ(Picture().Pixel(5, 5), original.Pixel(5, 5));
}

TEST_F(AdvancedEditingTest, ATurnedResultStaysInsideTheSelectionBox) {
  const TPictureBitmap original = Picture();
  window_->PictureView1->SelectRect(10, 10, 49, 29);
  RunDialog([](TEffectsForm& form) {
    form.Pages->setCurrentIndex(10);
    form.SetValue(10, 2, 45);
    form.OKButton->click();
  });
  EXPECT_EQ(Picture().Width(), 120);
  EXPECT_EQ(Picture().Pixel(50, 10), original.Pixel(50, 10));
  EXPECT_EQ(Picture().Pixel(10, 30), original.Pixel(10, 30));
  EXPECT_EQ(Picture().Pixel(10, 10), kWhite);  // a corner the turn uncovered
}

TEST_F(AdvancedEditingTest, OneBitTinyPicturesAndBusyOpenNothing) {
  context_.picture.PictureBusy = true;
  RunDialog([](TEffectsForm& form) { form.reject(); });
  EXPECT_FALSE(opened_);
  context_.picture.PictureBusy = false;
  Picture().Allocate(1, 1);
  RunDialog([](TEffectsForm& form) { form.reject(); });
  EXPECT_FALSE(opened_);
  Picture().Allocate(8, 8, PixelFormat::Mono1);
  RunDialog([](TEffectsForm& form) { form.reject(); });
  EXPECT_FALSE(opened_);
  QApplication::processEvents();
}

}  // namespace
}  // namespace vistrel::testing

namespace vistrel::testing {
namespace {

TEST(EffectsForm, UserFilterDivisorZeroCountsAsOne) {
  TEffectsForm form(Photo(30, 20));
  form.Pages->setCurrentIndex(4);
  form.SetValue(4, 9, 0);
  EXPECT_TRUE(form.Result() == Photo(30, 20));
}

TEST(EffectsForm, AUserFilterFileThatCannotBeParsedIsNamedInAMessage) {
  QTemporaryDir dir;
  const QString path = dir.filePath("broken.flt");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("1 2 3 not a filter");
  file.close();
  TEffectsForm form(Photo(30, 20));
  form.show();
  form.Pages->setCurrentIndex(4);
  QString message;
  DialogAnswers answers({[&](QWidget* w) {
                           auto* dialog = qobject_cast<QFileDialog*>(w);
                           ASSERT_TRUE(dialog);
                           dialog->selectFile(path);
                           QMetaObject::invokeMethod(dialog, "accept");
                         },
                         [&](QWidget* w) {
                           auto* box = qobject_cast<QMessageBox*>(w);
                           ASSERT_TRUE(box);
                           message = box->text();
                           box->accept();
                         }});
  for (QPushButton* button : form.findChildren<QPushButton*>())
    if (button->text() == "Load ...") button->click();
  EXPECT_TRUE(message.contains(path)) << message.toStdString();
  EXPECT_EQ(form.Values(4)[4], 1);  // the filter is unchanged
}

}  // namespace
}  // namespace vistrel::testing
