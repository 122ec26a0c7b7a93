// Options > Shortcuts: one routine for the desktop, the applications menu
// and the autostart folder. Creates the entry, or, when one is there, asks
// whether to remove it (Yes), write it again (No) or leave it (Cancel).
// Every failure is reported in a box naming the path.
#pragma once

#include <QString>

#include "platform/shortcuts/desktop_entry.h"

class QWidget;

namespace vistrel {

// The question asked when the entry exists.
QString ShortcutQuestion(const QString& shortcut_path);

// The folders as this process finds them ($HOME, the XDG variables and
// `xdg-user-dir DESKTOP`).
TXdgEnvironment CurrentXdgEnvironment();

void CreateOrRemoveShortcut(QWidget* parent, TShortcutFolder folder);

}  // namespace vistrel
