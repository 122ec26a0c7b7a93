#include "capture/forms/TTimerForm1.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <cmath>

#include "settings/other_options.h"
#include "capture/timer_rules.h"

namespace vistrel {

namespace {

constexpr double kMsPerDay = 86400000.0;
const QDate kDayZero(1899, 12, 30);

QTimeEdit* TimePicker(QWidget* parent) {
  auto* picker = new QTimeEdit(parent);
  picker->setDisplayFormat("HH:mm:ss");
  return picker;
}

QDateEdit* DatePicker(QWidget* parent) {
  auto* picker = new QDateEdit(parent);
  // The user's own short date: "12.9.26" reads as 12 September to most.
  picker->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
  picker->setCalendarPopup(true);
  return picker;
}

}  // namespace

QDateTime QDateTimeFromStored(double value) {
  if (!std::isfinite(value)) value = 0;
  const double days = std::floor(value);
  const auto ms = static_cast<int>(std::llround((value - days) * kMsPerDay) % 86400000LL);
  return QDateTime(kDayZero.addDays(static_cast<qint64>(days)), QTime(0, 0).addMSecs(ms));
}

double StoredFromQDateTime(const QDateTime& value) {
  return double(kDayZero.daysTo(value.date())) + value.time().msecsSinceStartOfDay() / kMsPerDay;
}

TTimerForm1::TTimerForm1(TrayOptions& options, std::function<double()> clock, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      CheckBox1(new QCheckBox(this)),
      StartDate(DatePicker(this)),
      StartTime(TimePicker(this)),
      CheckBox2(new QCheckBox(this)),
      EndDate(DatePicker(this)),
      EndTime(TimePicker(this)),
      Interval(TimePicker(this)),
      StartButton(new QPushButton("Start", this)),
      CancelButton(new QPushButton("Cancel", this)),
      DefaultButton(new QPushButton("Default", this)),
      RefreshButton(new QPushButton("Refresh", this)),
      options_(options),
      clock_(std::move(clock)) {
  setObjectName("TimerForm1");
  setWindowTitle(kCaption);
  CheckBox1->setToolTip("Check to Start Timer on the ...");
  CheckBox2->setToolTip("Check to End the Timer on the ...");
  auto row = [this](const char* title, QCheckBox* check, QDateEdit* date, QTimeEdit* time) {
    auto* group = new QGroupBox(title, this);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(check);
    layout->addWidget(date);
    layout->addWidget(time);
    connect(check, &QCheckBox::toggled, date, &QWidget::setEnabled);
    connect(check, &QCheckBox::toggled, time, &QWidget::setEnabled);
    return group;
  };
  auto* interval_group = new QGroupBox("Interval  ( HH:MM:SS )", this);
  auto* interval_layout = new QHBoxLayout(interval_group);
  interval_layout->addWidget(Interval);
  interval_layout->addWidget(new QLabel(">10 Sec  <23:59:59", interval_group));
  auto* buttons = new QGridLayout;
  buttons->addWidget(StartButton, 0, 0);
  buttons->addWidget(CancelButton, 0, 1);
  buttons->addWidget(DefaultButton, 1, 0);
  buttons->addWidget(RefreshButton, 1, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(interval_group);
  bottom->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(row("Start timer at the", CheckBox1, StartDate, StartTime));
  layout->addWidget(row("End Timer at the", CheckBox2, EndDate, EndTime));
  layout->addLayout(bottom);

  for (QPushButton* button : {StartButton, DefaultButton, RefreshButton})
    button->setAutoDefault(false);
  CancelButton->setDefault(true);
  connect(StartButton, &QPushButton::clicked, this, &TTimerForm1::StartClick);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(DefaultButton, &QPushButton::clicked, this, &TTimerForm1::DefaultClick);
  connect(RefreshButton, &QPushButton::clicked, this, &TTimerForm1::RefreshClick);
  connect(Interval, &QTimeEdit::timeChanged, this, [this] {
    if (!setting_) IntervalChange();
  });

  // Creation: check boxes (each with its pickers), earliest dates, the
  // interval, then the start and end as stored or now.
  CheckBox1->setChecked(options_.AutoStartOn);
  CheckBox2->setChecked(options_.AutoEndOn);
  for (QWidget* picker : {static_cast<QWidget*>(StartDate), static_cast<QWidget*>(StartTime)})
    picker->setEnabled(options_.AutoStartOn);
  for (QWidget* picker : {static_cast<QWidget*>(EndDate), static_cast<QWidget*>(EndTime)})
    picker->setEnabled(options_.AutoEndOn);
  const double now = clock_();
  const QDate today = QDateTimeFromStored(now).date();
  StartDate->setMinimumDate(today);
  EndDate->setMinimumDate(today);
  const QTime interval = QDateTimeFromStored(options_.AutoIntTime).time();
  SetInterval(interval.hour(), interval.minute(), interval.second());
  SetPickers(now);
  setFixedSize(sizeHint());
}

void TTimerForm1::SetInterval(int hours, int minutes, int seconds) {
  setting_ = true;
  Interval->setTime(QTime(hours, minutes, seconds));
  setting_ = false;
}

void TTimerForm1::SetPickers(double now) {
  const auto set = [now](double stored, QDateEdit* date, QTimeEdit* time) {
    const QDateTime shown = QDateTimeFromStored(now > stored ? now : stored);
    date->setDate(shown.date());
    time->setTime(shown.time());
  };
  setting_ = true;
  set(options_.AutoStart, StartDate, StartTime);
  set(options_.AutoEnd, EndDate, EndTime);
  setting_ = false;
}

void TTimerForm1::IntervalChange() {
  const QTime shown = Interval->time();
  const TTimeOfDay interval = IntervalWithFloor({shown.hour(), shown.minute(), shown.second()});
  SetInterval(interval.hours, interval.minutes, interval.seconds);
  // Kept at once, also when the dialog is then cancelled; a running timer
  // takes the new interval when it is started again.
  options_.AutoIntTime = IntervalMs(interval) / kMsPerDay;
}

void TTimerForm1::StartClick() {
  IntervalChange();
  options_.AutoStartOn = CheckBox1->isChecked();
  options_.AutoEndOn = CheckBox2->isChecked();
  options_.AutoStart = StoredFromQDateTime(QDateTime(StartDate->date(), StartTime->time()));
  options_.AutoEnd = StoredFromQDateTime(QDateTime(EndDate->date(), EndTime->time()));
  accept();
}

void TTimerForm1::DefaultClick() {
  SetInterval(0, 0, 30);
  const QDateTime now = QDateTimeFromStored(clock_());
  setting_ = true;
  for (QDateEdit* date : {StartDate, EndDate}) date->setDate(now.date());
  for (QTimeEdit* time : {StartTime, EndTime}) time->setTime(now.time());
  setting_ = false;
  CheckBox1->setChecked(false);
  CheckBox2->setChecked(false);
}

void TTimerForm1::RefreshClick() { SetPickers(clock_()); }

}  // namespace vistrel
