// "Timer Setup": when the capture timer starts and ends capturing and how
// often it captures. Start stores the settings and closes the dialog with
// Accepted; the caller then switches Automatic Save on and starts the timer.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <functional>

class QCheckBox;
class QDateEdit;
class QTimeEdit;
class QPushButton;

namespace vistrel {

struct TrayOptions;

class TTimerForm1 : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Timer Setup";

  // `clock` tells the current date and time as the settings keep dates.
  TTimerForm1(TrayOptions& options, std::function<double()> clock, QWidget* parent = nullptr);

  void StartClick();
  void DefaultClick();
  void RefreshClick();
  // The interval rule; runs on every change of the interval by the user.
  void IntervalChange();

  QCheckBox* const CheckBox1;  // start enabled
  QDateEdit* const StartDate;
  QTimeEdit* const StartTime;
  QCheckBox* const CheckBox2;  // end enabled
  QDateEdit* const EndDate;
  QTimeEdit* const EndTime;
  QTimeEdit* const Interval;
  QPushButton* const StartButton;
  QPushButton* const CancelButton;
  QPushButton* const DefaultButton;
  QPushButton* const RefreshButton;

 private:
  void SetPickers(double now);
  void SetInterval(int hours, int minutes, int seconds);

  TrayOptions& options_;
  std::function<double()> clock_;
  bool setting_ = false;  // a change made here, not by the user
};

// Dates as the settings keep them (days since 30 December 1899, the
// fraction the time of day) and as the pickers show them.
QDateTime QDateTimeFromStored(double value);
double StoredFromQDateTime(const QDateTime& value);

}  // namespace vistrel
