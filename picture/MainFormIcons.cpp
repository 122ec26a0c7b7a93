#include "picture/MainFormIcons.h"

#include <QFile>

#include "app/commands/TActionList1.h"

// Resources of a static library are registered by name from outside any
// namespace.
static void RegisterPictureIcons() { Q_INIT_RESOURCE(picture_icons); }

namespace vistrel {

namespace {

struct TCommandIcon {
  int number;
  const char* icon;
};

constexpr TCommandIcon kCommandIcons[] = {
    {1, "help-browser"},          {2, "system-log-out"},
    {3, "applications-graphics"}, {5, "edit-copy"},
    {6, "edit-paste"},            {7, "edit-cut"},
    {8, "edit-select-all"},       {15, "edit-undo"},
    {21, "preferences-system-windows"}, {22, "preferences-desktop-theme"},
    {24, "document-print"},       {25, "accessories-text-editor"},
    {27, "audio-volume-high"},    {32, "edit-clear"},
    {33, "format-text-bold"},     {39, "input-mouse"},
    {43, "appointment-new"},      {44, "camera-photo"},
    {45, "document-properties"},  {47, "mail-message-new"},
    {48, "printer"},              {51, "media-playback-pause"},
};

}  // namespace

QIcon PictureIcon(const char* name) {
  static const bool registered = (RegisterPictureIcons(), true);
  (void)registered;
  QIcon icon;
  for (const char* size : {"16", "32"}) {
    const QString path = QString(":/picture/icons/%1/%2.png").arg(size, name);
    if (QFile::exists(path)) icon.addFile(path);
  }
  return icon;
}

QIcon ProgramIcon() { return PictureIcon("camera-photo"); }

void ApplyCommandIcons(TActionList1& commands) {
  for (const TCommandIcon& c : kCommandIcons) commands.Action(c.number)->setIcon(PictureIcon(c.icon));
}

}  // namespace vistrel
