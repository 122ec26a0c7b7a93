// Closing an edited picture: every way of closing the window asks first,
// and each answer does what it says; an unedited picture closes at once.
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "dialog_answers.h"
#include "picture/close_question.h"
#include "picture/TSavePictureDialog.h"
#include "window_fixture.h"

namespace vistrel::testing {
namespace {

TEST(CloseRule, EachAnswerDecidesAndOnlySaveRunsTheSave) {
  int saves = 0;
  const auto save_ok = [&] { return ++saves, true; };
  const auto save_fails = [&] { return ++saves, false; };
  EXPECT_TRUE(ClosesAfterAnswer(TCloseAnswer::Discard, save_ok));
  EXPECT_FALSE(ClosesAfterAnswer(TCloseAnswer::Cancel, save_ok));
  EXPECT_EQ(saves, 0);
  EXPECT_TRUE(ClosesAfterAnswer(TCloseAnswer::Save, save_ok));
  EXPECT_FALSE(ClosesAfterAnswer(TCloseAnswer::Save, save_fails));
  EXPECT_EQ(saves, 2);
}

using CloseWay = std::function<void(TMainForm1&)>;
const std::pair<const char*, CloseWay> kCloseWays[] = {
    {"Esc", [](TMainForm1& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
    {"Close item", [](TMainForm1& w) { w.findChild<QMenu*>("FileMenu")->actions().at(0)->trigger(); }},
    {"close box", [](TMainForm1& w) { w.close(); }},
};

class CloseQuestionTest : public PictureWindowTest {
 protected:
  std::unique_ptr<TMainForm1> ShownWindow(bool edited) {
    auto window = NewWindow();
    window->show();
    QApplication::processEvents();
    EXPECT_FALSE(window->PictureModified());
    if (edited) window->Document().Proc().Negative();
    EXPECT_EQ(window->PictureModified(), edited);
    return window;
  }

  // A step that checks the question and presses `button`.
  DialogAnswers::Step Press(QMessageBox::StandardButton button) {
    return [this, button](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      ASSERT_NE(box, nullptr);
      ++questions_;
      EXPECT_EQ(box->text(), "Save the changes to the picture before closing?");
      box->button(button)->click();
    };
  }
  // A step for the save dialog: `path` accepted, or cancelled when empty.
  static DialogAnswers::Step SaveAs(QString path) {
    return [path](QWidget* dialog) {
      auto* save = qobject_cast<TSavePictureDialog*>(dialog);
      ASSERT_NE(save, nullptr);
      if (path.isEmpty()) return save->reject();
      save->SetFileName(path);
      save->accept();
    };
  }

  int questions_ = 0;
  QTemporaryDir dir_;
};

TEST_F(CloseQuestionTest, UneditedPictureClosesAtOnceEveryWay) {
  for (const auto& [way, close] : kCloseWays) {
    SCOPED_TRACE(way);
    auto window = ShownWindow(false);
    DialogAnswers answers({Press(QMessageBox::Cancel)});
    close(*window);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(questions_, 0);
  }
}

TEST_F(CloseQuestionTest, CancelKeepsTheEditedPictureEveryWay) {
  for (const auto& [way, close] : kCloseWays) {
    SCOPED_TRACE(way);
    auto window = ShownWindow(true);
    DialogAnswers answers({Press(QMessageBox::Cancel)});
    close(*window);
    EXPECT_TRUE(answers.AllAnswered());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->PictureModified());
  }
}

TEST_F(CloseQuestionTest, AnotherCloseWhileTheQuestionIsOpenKeepsThePicture) {
  auto window = ShownWindow(true);
  bool second_close = true;
  const DialogAnswers::Step discard = Press(QMessageBox::Discard);
  DialogAnswers answers({[&](QWidget* box) {
    second_close = window->ConfirmClose();
    discard(box);
  }});
  window->close();
  EXPECT_FALSE(second_close);
  EXPECT_EQ(questions_, 1);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(CloseQuestionTest, DiscardClosesWithoutWritingEveryWay) {
  for (const auto& [way, close] : kCloseWays) {
    SCOPED_TRACE(way);
    auto window = ShownWindow(true);
    window->Options().SaveFolder = dir_.path().toStdString();
    DialogAnswers answers({Press(QMessageBox::Discard)});
    close(*window);
    EXPECT_TRUE(answers.AllAnswered());
    EXPECT_FALSE(window->isVisible());
  }
  EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(CloseQuestionTest, SaveWritesThenClosesAndACancelledSaveKeepsEveryWay) {
  int n = 0;
  for (const auto& [way, close] : kCloseWays) {
    SCOPED_TRACE(way);
    auto window = ShownWindow(true);
    {
      DialogAnswers answers({Press(QMessageBox::Save), SaveAs({})});
      close(*window);
      EXPECT_TRUE(answers.AllAnswered());
      EXPECT_TRUE(window->isVisible());
    }
    // Back from the dialogs, as the user would be, before closing again.
    window->activateWindow();
    QApplication::processEvents();
    const QString path = dir_.path() + QString("/kept%1.png").arg(++n);
    DialogAnswers answers({Press(QMessageBox::Save), SaveAs(path)});
    close(*window);
    EXPECT_TRUE(answers.AllAnswered());
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->PictureModified());
  }
}

}  // namespace
}  // namespace vistrel::testing
