// Desktop notifications through the freedesktop.org notification service
// (org.freedesktop.Notifications on the session bus), which every Linux
// desktop with a panel runs. Where no such service answers, Notify()
// returns false and the caller falls back to the tray icon's own balloon.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace vistrel {

class TDesktopNotifier : public QObject {
  Q_OBJECT
 public:
  explicit TDesktopNotifier(QObject* parent = nullptr);

  // Shows one notice. When the service offers actions and `action` is set,
  // the notice carries a button `action_label` that calls it. False when no
  // notification service answered within a short time.
  bool Notify(const QString& summary, const QString& body, const QString& action_label = {},
              std::function<void()> action = {});

 private slots:
  void ActionInvoked(uint id, const QString& key);

 private:
  uint last_id_ = 0;
  std::function<void()> action_;
};

}  // namespace vistrel
