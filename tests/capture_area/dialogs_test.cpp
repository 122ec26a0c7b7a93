// "Custom Rectangle" and "Timer Setup": fields, focus, refusals with the
// beep, Max, the Define item's new caption, the interval floor, the pickers
// on a fake clock, and which timer ticks capture.
#include <QCheckBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include "capture/forms/TRectForm1.h"
#include "capture/forms/TTimerForm1.h"
#include "capture/forms/capture_hooks.h"
#include "picture/picture_services.h"
#include "tests/capture_area/area_fixture.h"

namespace vistrel::testing {
namespace {

class RectFormTest : public PictureWindowTest {
 protected:
  // Leaves the field with Tab, as the user does.
  void Leave(QLineEdit* field, const QString& text) {
    field->setFocus(Qt::OtherFocusReason);
    field->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
    QApplication::processEvents();
  }
  PictureWindowOptions options_;
};

TEST_F(RectFormTest, FieldsOrderAndCaption) {
  options_.CustomW = 200;
  options_.CustomH = 150;
  TRectForm1 form(options_, beeper_, 800, 600);
  EXPECT_EQ(form.windowTitle(), "Custom Rectangle");
  EXPECT_EQ(form.Edit1->text(), "200");
  EXPECT_EQ(form.Edit2->text(), "150");
  EXPECT_EQ(form.Button1->text(), "&Close");
  EXPECT_EQ(form.Button2->text(), "Max");
  EXPECT_EQ(form.Edit1->maxLength(), 4);
  EXPECT_EQ(form.Edit2->maxLength(), 5);
  EXPECT_EQ(form.Edit1->nextInFocusChain(), form.Edit2);
  EXPECT_EQ(form.Edit2->nextInFocusChain(), form.Button1);
  EXPECT_EQ(form.Button1->nextInFocusChain(), form.Button2);
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_LT(form.width(), 260);  // a small dialog
  // Yet wide enough for its caption in a bold title font beside the icon
  // and the three buttons openbox puts into the title bar.
  QFont bold = form.font();
  bold.setBold(true);
  const QFontMetrics title(bold);
  EXPECT_GE(form.width(), title.horizontalAdvance("Custom Rectangle") + 7 * title.height());
}

TEST_F(RectFormTest, RefusedSizesBeepAndBecome100) {
  TRectForm1 form(options_, beeper_, 800, 600);
  form.show();
  Leave(form.Edit1, "15");
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_EQ(form.Edit1->text(), "100");
  EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
  Leave(form.Edit1, "16");
  Leave(form.Edit1, "796");
  Leave(form.Edit2, "596");
  EXPECT_EQ(beeper_.beeps, 1);
  Leave(form.Edit1, "797");
  Leave(form.Edit2, "597");
  EXPECT_EQ(beeper_.beeps, 3);
  EXPECT_EQ(form.Edit2->text(), "100");
  // Nothing is stored before "&Close".
  EXPECT_EQ(options_.CustomW, 100);
}

TEST_F(RectFormTest, EmptyFieldGetsTheConversionMessageAndKeepsItsText) {
  TRectForm1 form(options_, beeper_, 800, 600);
  form.show();
  QString message;
  QTimer::singleShot(0, [&message] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      message = box->text();
      box->accept();
    }
  });
  Leave(form.Edit2, "");
  EXPECT_EQ(message, "'' is not a valid integer value");
  EXPECT_EQ(form.Edit2->text(), "");
}

TEST_F(RectFormTest, TabOutOfTwoRefusedFieldsBeepsOnceAndStays) {
  // A view so small that even "100" is refused in both fields.
  TRectForm1 form(options_, beeper_, 90, 90);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.Edit1->setText("5");
  QTest::keyClick(form.Edit1, Qt::Key_Tab);
  for (int round = 0; round < 20; ++round) QApplication::processEvents();
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
  EXPECT_EQ(form.Edit2->text(), "100");
  // Going on from the refused field is refused again, once per attempt.
  QTest::keyClick(form.Edit1, Qt::Key_Tab);
  for (int round = 0; round < 20; ++round) QApplication::processEvents();
  EXPECT_EQ(beeper_.beeps, 2);
  EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
}

TEST_F(RectFormTest, CloseAndEscWithAnEmptyFieldSayItAndStayOpen) {
  options_.CustomW = 200;
  for (const bool by_esc : {false, true}) {
    SCOPED_TRACE(by_esc ? "Esc" : "&Close");
    TRectForm1 form(options_, beeper_, 800, 600);
    form.show();
    form.Edit1->setText("300");
    form.Edit2->setText("");
    QString message;
    QTimer::singleShot(0, [&message] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        message = box->text();
        box->accept();
      }
    });
    if (by_esc)
      QTest::keyClick(&form, Qt::Key_Escape);
    else
      form.Button1->click();
    EXPECT_EQ(message, "'' is not a valid integer value");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Edit2->text(), "");
    // The width came first and is taken; the height keeps its old value.
    EXPECT_EQ(options_.CustomW, 300);
    EXPECT_EQ(options_.CustomH, 100);
    options_.CustomW = 200;
  }
}

TEST_F(RectFormTest, MaxStoresAtOnceOrBeepsInASmallView) {
  TRectForm1 form(options_, beeper_, 800, 600);
  form.Button2->click();
  EXPECT_EQ(form.Edit1->text(), "796");
  EXPECT_EQ(form.Edit2->text(), "596");
  EXPECT_EQ(options_.CustomW, 796);
  EXPECT_EQ(options_.CustomH, 596);

  TRectForm1 small(options_, beeper_, 800, 18);
  small.Button2->click();
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_EQ(small.Edit2->text(), "596");
  EXPECT_EQ(options_.CustomH, 596);
}

TEST_F(RectFormTest, CloseAndEscStoreTheCloseBoxDoesNot) {
  TRectForm1 form(options_, beeper_, 800, 600);
  form.Edit1->setText("200");
  form.Edit2->setText("150");
  form.Button1->click();
  EXPECT_EQ(options_.CustomW, 200);
  EXPECT_EQ(options_.CustomH, 150);

  TRectForm1 esc(options_, beeper_, 800, 600);
  esc.show();
  esc.Edit1->setText("300");
  QTest::keyClick(&esc, Qt::Key_Escape);
  EXPECT_EQ(options_.CustomW, 300);
  EXPECT_FALSE(esc.isVisible());

  TRectForm1 box(options_, beeper_, 800, 600);
  box.show();
  box.Edit1->setText("400");
  box.close();
  EXPECT_EQ(options_.CustomW, 300);
}

TEST_F(RectFormTest, DefineRenamesTheCustomPreset) {
  LendCaptures(context_.services);
  auto window = NewWindow();
  window->show();  // the view's visible extent limits the sizes
  QApplication::processEvents();
  QMenu* rectangles = FindItem(window->PopupMenu1(), "Rectangles")->menu();
  QAction* define = FindItem(rectangles, "Define");
  ASSERT_TRUE(define->isEnabled());
  WhenShown<TRectForm1>([](TRectForm1& form) {
    form.Edit1->setText("200");
    form.Edit2->setText("150");
    form.Button1->click();
  });
  define->trigger();
  EXPECT_TRUE(FindItem(rectangles, "200 x 150"));
  EXPECT_EQ(window->Options().CustomW, 200);
}

// ---- timer -----------------------------------------------------------------

// 9 December 2026, 15:00 as the settings keep dates.
constexpr double kNow = 46365.625;
constexpr double kHour = 1.0 / 24;

TEST(TimerForm, CreationShowsStoredSettingsOrNow) {
  TrayOptions options;
  options.AutoStartOn = true;
  options.AutoStart = kNow - kHour;  // passed: the pickers show now
  options.AutoEnd = kNow + 2 * kHour;
  options.AutoIntTime = 65.0 / 86400;
  TTimerForm1 form(options, [] { return kNow; });
  EXPECT_EQ(form.windowTitle(), "Timer Setup");
  EXPECT_TRUE(form.CheckBox1->isChecked());
  EXPECT_TRUE(form.StartDate->isEnabled());
  EXPECT_FALSE(form.CheckBox2->isChecked());
  EXPECT_FALSE(form.EndTime->isEnabled());
  EXPECT_EQ(form.StartTime->time(), QTime(15, 0));
  EXPECT_EQ(form.EndTime->time(), QTime(17, 0));
  EXPECT_EQ(form.StartDate->minimumDate(), QDate(2026, 12, 9));
  EXPECT_EQ(form.Interval->time(), QTime(0, 1, 5));
  EXPECT_EQ(form.Interval->displayFormat(), "HH:mm:ss");
  EXPECT_TRUE(form.CancelButton->isDefault());
  EXPECT_EQ(form.CheckBox1->toolTip(), "Check to Start Timer on the ...");
  EXPECT_EQ(form.CheckBox2->toolTip(), "Check to End the Timer on the ...");
  EXPECT_TRUE(form.findChild<QLabel*>() != nullptr);
}

TEST(TimerForm, DatesInTheUsersShortFormatStoredAsBefore) {
  TrayOptions options;
  options.AutoEnd = kNow + 2;
  TTimerForm1 form(options, [] { return kNow; });
  const QLocale user = QLocale::system();
  EXPECT_EQ(form.StartDate->text(), user.toString(QDate(2026, 12, 9), QLocale::ShortFormat));
  EXPECT_EQ(form.EndDate->text(), user.toString(QDate(2026, 12, 11), QLocale::ShortFormat));
  form.CheckBox2->setChecked(true);
  form.StartClick();
  EXPECT_NEAR(options.AutoEnd, kNow + 2, 1e-9);
}

// Only in the run with a British user (LC_ALL=en_GB.UTF-8).
TEST(TimerFormBritish, NinthOfDecemberReadsDayFirst) {
  TrayOptions options;
  TTimerForm1 form(options, [] { return kNow; });
  EXPECT_EQ(form.StartDate->text(), "09/12/2026");
}

TEST(TimerForm, IntervalRuleKeepsItsValueAlsoOnCancel) {
  TrayOptions options;
  TTimerForm1 form(options, [] { return kNow; });
  form.Interval->setTime(QTime(0, 0, 5));
  EXPECT_EQ(form.Interval->time(), QTime(0, 0, 10));
  EXPECT_EQ(options.CaptureIntervalMs(), 10000);
  form.Interval->setTime(QTime(23, 59, 59));
  EXPECT_EQ(options.CaptureIntervalMs(), 86399000);
  form.CancelButton->click();
  EXPECT_EQ(options.CaptureIntervalMs(), 86399000);
}

TEST(TimerForm, StartDefaultAndRefresh) {
  TrayOptions options;
  double now = kNow;
  TTimerForm1 form(options, [&now] { return now; });
  form.CheckBox1->setChecked(true);
  form.StartTime->setTime(QTime(16, 0));
  form.CheckBox2->setChecked(true);
  form.EndDate->setDate(QDate(2026, 12, 10));
  form.EndTime->setTime(QTime(8, 30));
  form.StartClick();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_TRUE(options.AutoStartOn);
  EXPECT_TRUE(options.AutoEndOn);
  EXPECT_NEAR(options.AutoStart, kNow + kHour, 1e-9);
  EXPECT_NEAR(options.AutoEnd, kNow + 17.5 * kHour, 1e-9);

  // Default touches only the dialog until Start or a change by the user.
  options.AutoIntTime = 65.0 / 86400;
  now = kNow + 0.5 * kHour;
  form.DefaultClick();
  EXPECT_EQ(form.Interval->time(), QTime(0, 0, 30));
  EXPECT_FALSE(form.CheckBox1->isChecked());
  EXPECT_EQ(form.EndTime->time(), QTime(15, 30));
  EXPECT_EQ(options.CaptureIntervalMs(), 65000);
  EXPECT_TRUE(options.AutoStartOn);
  // Refresh: the stored start (16:00) is ahead of now (15:45).
  now = kNow + 0.75 * kHour;
  form.RefreshClick();
  EXPECT_EQ(form.StartTime->time(), QTime(16, 0));
  now = kNow + 1.5 * kHour;
  form.RefreshClick();
  EXPECT_EQ(form.StartTime->time(), QTime(16, 30));
}

TEST(TimerTick, SkipsBeforeTheStartAndFromTheEnd) {
  TrayOptions options;
  EXPECT_TRUE(options.TimedCaptureDue(kNow));
  options.AutoStartOn = true;
  options.AutoStart = kNow + kHour;
  EXPECT_FALSE(options.TimedCaptureDue(kNow));
  EXPECT_TRUE(options.TimedCaptureDue(kNow + kHour));
  options.AutoEndOn = true;
  options.AutoEnd = kNow + 2 * kHour;
  EXPECT_TRUE(options.TimedCaptureDue(kNow + 1.5 * kHour));
  EXPECT_FALSE(options.TimedCaptureDue(kNow + 2 * kHour));
  // An end before the start: every tick is skipped.
  options.AutoEnd = kNow;
  for (double t : {kNow - kHour, kNow, kNow + kHour, kNow + 3 * kHour}) EXPECT_FALSE(options.TimedCaptureDue(t));
}

}  // namespace
}  // namespace vistrel::testing
