#include "picture/MainFormIcons.h"

#include <QFile>
#include <map>
#include <string>
#include <string_view>

#include "commands/TActionList1.h"

// Resources of a static library are registered by name from outside any
// namespace.
static void RegisterPictureIcons() { Q_INIT_RESOURCE(picture_icons); }

namespace vistrel {

namespace {

struct TCommandIcon {
  int number;
  const char* icon;
};

// Option commands carry no icon: a menu shows a checkable item's icon in
// place of its check mark.
constexpr TCommandIcon kCommandIcons[] = {
    {1, "help-browser"},          {2, "system-log-out"},
    {3, "applications-graphics"}, {5, "edit-copy"},
    {6, "edit-paste"},            {7, "edit-cut"},
    {8, "edit-select-all"},       {15, "edit-undo"},
    {22, "preferences-desktop-theme"}, {24, "document-print"},
    {25, "accessories-text-editor"},   {32, "edit-clear"},
    {33, "format-text-bold"},     {44, "camera-photo"},
    {45, "document-properties"},  {47, "mail-message-new"},
};
}  // namespace

QIcon PictureIcon(const char* name) {
  static const bool registered = (RegisterPictureIcons(), true);
  (void)registered;
  // Built once: every picture window asks again, and each new icon would
  // draw and keep pixmaps of its own. Kept to the end of the process: a
  // pixmap must not outlive the application object, as a static would.
  static auto& icons = *new std::map<std::string, QIcon, std::less<>>;
  if (const auto found = icons.find(std::string_view(name)); found != icons.end())
    return found->second;
  QIcon icon;
  for (const char* size : {"16", "24", "32"}) {
    const QString path = QString(":/picture/icons/%1/%2.png").arg(size, name);
    if (QFile::exists(path)) icon.addFile(path);
  }
  icons.emplace(name, icon);
  return icon;
}

QIcon ProgramIcon() { return PictureIcon("camera-photo"); }

void ApplyCommandIcons(TActionList1& commands) {
  for (const TCommandIcon& c : kCommandIcons)
    commands.Action(c.number)->setIcon(PictureIcon(c.icon));
}

}  // namespace vistrel
