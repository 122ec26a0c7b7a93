// Lets a Qt event loop deliver the hotkeys of an IHotkeys backend: a socket
// notifier on the backend's descriptor processes its events as they come.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "platform/hotkeys.h"

namespace vistrel {

class THotkeyNotifier : public QObject {
 public:
  // `hotkeys` must outlive the notifier. Does nothing for a backend with no
  // descriptor (the fake one).
  explicit THotkeyNotifier(IHotkeys& hotkeys, QObject* parent = nullptr);

 private:
  IHotkeys& hotkeys_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vistrel
