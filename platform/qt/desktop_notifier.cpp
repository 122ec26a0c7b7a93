#include "platform/qt/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QVariantMap>

namespace vistrel {

namespace {
constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
// A hung service must not hold the program up for D-Bus's default 25 s.
constexpr int kCallTimeoutMs = 2000;
constexpr const char* kActionKey = "default";

QDBusMessage Call(const QString& method, const QVariantList& arguments = {}) {
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
  call.setArguments(arguments);
  return QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
}
}  // namespace

TDesktopNotifier::TDesktopNotifier(QObject* parent) : QObject(parent) {
  QDBusConnection::sessionBus().connect(kService, kPath, kInterface, "ActionInvoked", this,
                                        SLOT(ActionInvoked(uint, QString)));
}

bool TDesktopNotifier::Notify(const QString& summary, const QString& body,
                              const QString& action_label, std::function<void()> action) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface() ||
      !bus.interface()->isServiceRegistered(kService).value())
    return false;
  QStringList actions;
  if (action) {
    const QDBusMessage caps = Call("GetCapabilities");
    if (caps.type() == QDBusMessage::ReplyMessage && !caps.arguments().isEmpty() &&
        caps.arguments().first().toStringList().contains("actions"))
      actions << kActionKey << action_label;
  }
  const QDBusMessage reply =
      Call("Notify", {QString("Vistrel-Pro"), uint(0), QString("camera-photo"), summary, body,
                      actions, QVariantMap{}, int(-1)});
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  last_id_ = reply.arguments().first().toUInt();
  action_ = actions.isEmpty() ? std::function<void()>() : std::move(action);
  return true;
}

void TDesktopNotifier::ActionInvoked(uint id, const QString& key) {
  if (id == last_id_ && key == kActionKey && action_) action_();
}

}  // namespace vistrel
