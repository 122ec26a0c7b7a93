#include "platform/qt/portal_hotkeys.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QUuid>

#include "platform/qt/shortcut_trigger.h"

namespace vistrel {

// One entry of the portal's a(sa{sv}) shortcut lists.
struct TPortalShortcut {
  QString id;
  QVariantMap properties;
};

}  // namespace vistrel

Q_DECLARE_METATYPE(vistrel::TPortalShortcut)

namespace vistrel {

QDBusArgument& operator<<(QDBusArgument& out, const TPortalShortcut& shortcut) {
  out.beginStructure();
  out << shortcut.id << shortcut.properties;
  out.endStructure();
  return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, TPortalShortcut& shortcut) {
  in.beginStructure();
  in >> shortcut.id >> shortcut.properties;
  in.endStructure();
  return in;
}

namespace {

constexpr char kPortal[] = "org.freedesktop.portal.Desktop";
constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
constexpr char kShortcuts[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char kRequest[] = "org.freedesktop.portal.Request";
// The version is asked once, while the program starts.
constexpr int kVersionTimeoutMs = 5000;

QString ShortcutId(int id) { return QString("hotkey%1").arg(id); }

std::optional<int> IdOfShortcut(const QString& shortcut) {
  if (!shortcut.startsWith("hotkey")) return std::nullopt;
  bool ok = false;
  const int id = shortcut.mid(6).toInt(&ok);
  return ok ? std::optional(id) : std::nullopt;
}

QString Token() { return "vistrel" + QUuid::createUuid().toString(QUuid::Id128); }

QString PathOf(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
    return value.value<QDBusObjectPath>().path();
  return value.toString();
}

QList<TPortalShortcut> ShortcutList(const QVariant& value) {
  if (value.metaType() != QMetaType::fromType<QDBusArgument>()) return {};
  return qdbus_cast<QList<TPortalShortcut>>(value.value<QDBusArgument>());
}

}  // namespace

PortalHotkeys::PortalHotkeys(int answer_timeout_ms) {
  qDBusRegisterMetaType<TPortalShortcut>();
  qDBusRegisterMetaType<QList<TPortalShortcut>>();
  rebind_.setSingleShot(true);
  rebind_.setInterval(0);
  connect(&rebind_, &QTimer::timeout, this, &PortalHotkeys::Rebind);
  answer_timeout_.setSingleShot(true);
  answer_timeout_.setInterval(answer_timeout_ms);
  connect(&answer_timeout_, &QTimer::timeout, this, &PortalHotkeys::Refuse);
}

PortalHotkeys::~PortalHotkeys() {
  StopWaiting();
  CloseSession();
}

unsigned PortalHotkeys::Version() const {
  if (version_) return *version_;
  version_ = 0;
  if (!Bus().isConnected()) return 0;
  QDBusMessage get = QDBusMessage::createMethodCall(kPortal, kPortalPath,
                                                    "org.freedesktop.DBus.Properties", "Get");
  get << QString(kShortcuts) << QString("version");
  const QDBusMessage reply = Bus().call(get, QDBus::Block, kVersionTimeoutMs);
  if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
    version_ = reply.arguments().first().value<QDBusVariant>().variant().toUInt();
  return *version_;
}

THotkeyLending PortalHotkeys::Lending() const {
  return Version() > 0 ? THotkeyLending::Assigned : THotkeyLending::None;
}

void PortalHotkeys::Describe(int id, std::string description) {
  descriptions_[id] = std::move(description);
}

bool PortalHotkeys::Register(int id, unsigned modifier_flags, unsigned virtual_key) {
  if (Version() == 0 || ShortcutTrigger(modifier_flags, virtual_key).empty()) return false;
  wanted_[id] = {modifier_flags, virtual_key};
  rebind_.start();
  return true;
}

void PortalHotkeys::Unregister(int id) {
  if (wanted_.erase(id)) rebind_.start();
}

std::string PortalHotkeys::AssignedTrigger(int id) const {
  const auto found = triggers_.find(id);
  return found == triggers_.end() ? std::string() : found->second;
}

bool PortalHotkeys::CanConfigure() const {
  return Version() >= 2 && !session_.isEmpty() && step_ == TStep::Idle;
}

void PortalHotkeys::Configure() {
  if (!CanConfigure()) return;
  QDBusMessage call =
      QDBusMessage::createMethodCall(kPortal, kPortalPath, kShortcuts, "ConfigureShortcuts");
  call << QVariant::fromValue(QDBusObjectPath(session_)) << QString() << QVariantMap{};
  Bus().asyncCall(call);
}

// The portal binds a session's shortcuts once: new keys need a new session.
void PortalHotkeys::Rebind() {
  StopWaiting();
  CloseSession();
  asked_ = wanted_;
  if (asked_.empty()) return;
  if (!listening_) {
    listening_ = true;
    Bus().connect(kPortal, kPortalPath, kShortcuts, "Activated", this,
                 SLOT(Activated(QDBusMessage)));
    Bus().connect(kPortal, kPortalPath, kShortcuts, "ShortcutsChanged", this,
                 SLOT(ShortcutsChanged(QDBusMessage)));
  }
  step_ = TStep::Session;
  if (!Ask("CreateSession", {}, {{"session_handle_token", Token()}})) Refuse();
}

void PortalHotkeys::CloseSession() {
  if (!session_.isEmpty())
    Bus().asyncCall(QDBusMessage::createMethodCall(kPortal, session_,
                                                  "org.freedesktop.portal.Session", "Close"));
  session_.clear();
  step_ = TStep::Idle;
  if (triggers_.empty()) return;
  triggers_.clear();
  if (assigned_changed_) assigned_changed_();
}

bool PortalHotkeys::Ask(const QString& method, QList<QVariant> arguments, QVariantMap options) {
  if (!Bus().isConnected()) return false;
  // The request's path is known before the call, so the answer cannot come
  // before it is listened for.
  const QString token = Token();
  QString sender = Bus().baseService().mid(1);
  sender.replace('.', '_');
  request_ = QString("%1/request/%2/%3").arg(kPortalPath, sender, token);
  Bus().connect(kPortal, request_, kRequest, "Response", this, SLOT(Answered(QDBusMessage)));
  options.insert("handle_token", token);
  arguments << options;
  QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath, kShortcuts, method);
  call.setArguments(arguments);
  auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(call), this);
  const QString asked = request_;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, asked] {
    watcher->deleteLater();
    // A call the portal rejects gets no Response.
    if (watcher->isError() && asked == request_) Refuse();
  });
  answer_timeout_.start();
  return true;
}

void PortalHotkeys::StopWaiting() {
  answer_timeout_.stop();
  if (request_.isEmpty()) return;
  Bus().disconnect(kPortal, request_, kRequest, "Response", this, SLOT(Answered(QDBusMessage)));
  request_.clear();
}

void PortalHotkeys::Refuse() {
  StopWaiting();
  CloseSession();
  std::vector<int> ids;
  for (const auto& [id, combination] : asked_) ids.push_back(id);
  asked_.clear();
  if (refused_ && !ids.empty()) refused_(ids);
}

void PortalHotkeys::Answered(const QDBusMessage& response) {
  const QList<QVariant> arguments = response.arguments();
  if (response.path() != request_ || arguments.size() < 2) return;
  StopWaiting();
  const QVariantMap results = qdbus_cast<QVariantMap>(arguments[1]);
  if (arguments[0].toUInt() != 0) {
    Refuse();
    return;
  }
  if (step_ == TStep::Session) {
    session_ = PathOf(results.value("session_handle"));
    if (session_.isEmpty()) {
      Refuse();
      return;
    }
    BindShortcuts();
  } else if (step_ == TStep::Bind) {
    step_ = TStep::Idle;
    TakeTriggers(results.value("shortcuts"));
  }
}

void PortalHotkeys::BindShortcuts() {
  step_ = TStep::Bind;
  QList<TPortalShortcut> shortcuts;
  for (const auto& [id, combination] : asked_) {
    QVariantMap properties;
    const auto description = descriptions_.find(id);
    properties["description"] = QString::fromStdString(
        description == descriptions_.end() ? "hotkey " + std::to_string(id) : description->second);
    properties["preferred_trigger"] =
        QString::fromStdString(ShortcutTrigger(combination.first, combination.second));
    shortcuts.push_back({ShortcutId(id), properties});
  }
  if (!Ask("BindShortcuts",
           {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts),
            QString()},
           {}))
    Refuse();
}

void PortalHotkeys::TakeTriggers(const QVariant& shortcuts) {
  triggers_.clear();
  for (const TPortalShortcut& shortcut : ShortcutList(shortcuts)) {
    const std::optional<int> id = IdOfShortcut(shortcut.id);
    if (id) triggers_[*id] = shortcut.properties.value("trigger_description").toString().toStdString();
  }
  if (assigned_changed_) assigned_changed_();
}

void PortalHotkeys::Activated(const QDBusMessage& signal) {
  const QList<QVariant> arguments = signal.arguments();
  if (arguments.size() < 2 || session_.isEmpty() || PathOf(arguments[0]) != session_) return;
  const std::optional<int> id = IdOfShortcut(arguments[1].toString());
  if (id && asked_.count(*id) && handler_) handler_(*id);
}

void PortalHotkeys::ShortcutsChanged(const QDBusMessage& signal) {
  const QList<QVariant> arguments = signal.arguments();
  if (arguments.size() < 2 || session_.isEmpty() || PathOf(arguments[0]) != session_) return;
  TakeTriggers(arguments[1]);
}

}  // namespace vistrel
