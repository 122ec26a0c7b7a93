// Hotkeys through the desktop portal's GlobalShortcuts interface, for
// Wayland desktops that assign keys to programs on request. The program
// offers each registered id with its stored combination; the desktop binds
// it to that key or another, and reports presses as Activated signals.
//
// Every portal call is answered later (a Request object's Response
// signal): registrations are gathered and bound together once the event
// loop runs, and a desktop that refuses or never answers turns the ids into
// refusals through the refused handler.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>
#include <map>
#include <optional>
#include <utility>

#include "platform/hotkeys.h"

namespace vistrel {

class PortalHotkeys : public QObject, public IHotkeys {
  Q_OBJECT

 public:
  // `answer_timeout_ms`: how long a request may go unanswered (the desktop
  // may ask the user first). The session bus is taken at the first use,
  // once the application exists.
  explicit PortalHotkeys(int answer_timeout_ms = 120000);
  ~PortalHotkeys() override;

  // Without the interface on the session's portal every Register is
  // refused, as where the desktop lends no keys.
  bool Register(int id, unsigned modifier_flags, unsigned virtual_key) override;
  void Unregister(int id) override;
  void SetHandler(THandler handler) override { handler_ = std::move(handler); }
  int EventFd() const override { return -1; }
  bool ProcessPendingEvents() override { return true; }

  THotkeyLending Lending() const override;
  void Describe(int id, std::string description) override;
  void SetRefusedHandler(TRefusedHandler handler) override { refused_ = std::move(handler); }
  void SetAssignedHandler(std::function<void()> handler) override {
    assigned_changed_ = std::move(handler);
  }
  std::string AssignedTrigger(int id) const override;
  bool CanConfigure() const override;
  void Configure() override;

 private slots:
  void Answered(const QDBusMessage& response);
  void Activated(const QDBusMessage& signal);
  void ShortcutsChanged(const QDBusMessage& signal);

 private:
  enum class TStep { Idle, Session, Bind };

  static QDBusConnection Bus() { return QDBusConnection::sessionBus(); }
  // The interface's version, asked once; 0 when the portal has none.
  unsigned Version() const;
  void Rebind();
  void CloseSession();
  // Calls `method` with a request token; false when the call itself failed.
  bool Ask(const QString& method, QList<QVariant> arguments, QVariantMap options);
  void StopWaiting();
  void Refuse();
  void BindShortcuts();
  void TakeTriggers(const QVariant& shortcuts);

  mutable std::optional<unsigned> version_;
  std::map<int, std::pair<unsigned, unsigned>> wanted_;  // id -> (flags, key)
  std::map<int, std::string> descriptions_;
  std::map<int, std::string> triggers_;  // as the desktop last described them
  std::map<int, std::pair<unsigned, unsigned>> asked_;  // the ids of the bind under way
  THandler handler_;
  TRefusedHandler refused_;
  std::function<void()> assigned_changed_;
  QTimer rebind_;
  QTimer answer_timeout_;
  TStep step_ = TStep::Idle;
  bool listening_ = false;  // to the portal's Activated and ShortcutsChanged
  QString request_;  // the Request object waited for
  QString session_;  // the session the bound keys belong to
};

}  // namespace vistrel
