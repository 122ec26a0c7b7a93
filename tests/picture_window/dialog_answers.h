// Answers the modal dialogs a command opens, one step per dialog, in the
// order they appear.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

namespace vistrel::testing {

class DialogAnswers {
 public:
  using Step = std::function<void(QWidget* dialog)>;

  explicit DialogAnswers(std::deque<Step> steps) : steps_(std::move(steps)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog || dialog == last_ || steps_.empty()) return;
      last_ = dialog;
      Step step = std::move(steps_.front());
      steps_.pop_front();
      step(dialog);
    });
    timer_.start();
  }

  bool AllAnswered() const { return steps_.empty(); }

 private:
  std::deque<Step> steps_;
  QPointer<QWidget> last_;  // cleared when that dialog is gone
  QTimer timer_;
};

}  // namespace vistrel::testing
