// The program's hints: shown for 4000 ms and wrapped at 204 pixels.
#pragma once

#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <functional>

namespace vistrel {

class HintHook : public QObject {
 public:
  static constexpr int kHidePauseMs = 4000;
  static constexpr int kMaxWidth = 204;
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Rich text that shows `hint` wrapped at `max_width` pixels when a line of
// it is wider (for `line_width`), else the hint itself.
QString WrapHint(const QString& hint, int max_width, const std::function<int(const QString&)>& line_width);

}  // namespace vistrel
