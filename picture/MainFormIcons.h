// Icons of the picture window and of the shared commands: Tango icons
// (public domain) built into the program, 24 x 24 for the toolbar and
// 16 x 16 for menus.
#pragma once

#include <QIcon>

namespace vistrel {

class TActionList1;

// The icon named like its Tango file ("edit-copy"), in every size shipped;
// the same shared icon on every call.
QIcon PictureIcon(const char* name);

// The program's own icon (a camera, icons/32/camera-photo.png), for windows
// and the tray. Ask through here: the icons are registered on first use.
QIcon ProgramIcon();

// Gives the shared commands their icons; the same every time it runs.
void ApplyCommandIcons(TActionList1& commands);

}  // namespace vistrel
