#include "platform/qt/hotkey_notifier.h"

namespace vistrel {

THotkeyNotifier::THotkeyNotifier(IHotkeys& hotkeys, QObject* parent)
    : QObject(parent), hotkeys_(hotkeys) {
  const int fd = hotkeys_.EventFd();
  if (fd < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    // A lost connection would leave the descriptor readable for ever.
    if (!hotkeys_.ProcessPendingEvents()) notifier_->setEnabled(false);
  });
}

}  // namespace vistrel
