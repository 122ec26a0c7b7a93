#include "app/shortcut_routine.h"
#include "imaging/program_beside.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>

#include "program_info.h"
#include "commands/message_boxes.h"
#include "platform/shortcuts/program_files.h"

namespace vistrel {

namespace {

std::string Env(const char* name) {
  const QByteArray value = qgetenv(name);
  return value.toStdString();
}

// What `xdg-user-dir DESKTOP` prints; nullopt when it does not run.
std::optional<std::string> DesktopFolderOfUser() {
  QProcess lookup;
  lookup.start("xdg-user-dir", {"DESKTOP"});
  if (!lookup.waitForFinished(5000) || lookup.exitStatus() != QProcess::NormalExit ||
      lookup.exitCode() != 0) {
    lookup.kill();
    lookup.waitForFinished(1000);
    return std::nullopt;
  }
  return QString::fromLocal8Bit(lookup.readAllStandardOutput()).toStdString();
}

QString Failure(const QString& path, const char* what, const std::string& reason) {
  return "The Shortcut \r\n\r\n" + path + "\r\n\r\n" + what + ":\r\n" +
         QString::fromStdString(reason);
}

}  // namespace

QString ShortcutQuestion(const QString& shortcut_path) {
  return "The Shortcut \r\n\r\n" + shortcut_path + "  " + "\r\n" + "\r\n" +
         "is allready created !" + "\r\n" + "do you want to remove the Shortcut ?";
}

TXdgEnvironment CurrentXdgEnvironment() {
  TXdgEnvironment env;
  env.home = Env("HOME");
  env.data_home = Env("XDG_DATA_HOME");
  env.config_home = Env("XDG_CONFIG_HOME");
  env.desktop_dir = DesktopFolderOfUser();
  return env;
}

void CreateOrRemoveShortcut(QWidget* parent, TShortcutFolder folder) {
  // The entry points at the program file itself, links resolved.
  const QString program =
      QFileInfo(QString::fromStdString(StartedProgramPath())).canonicalFilePath();
  const QString program_folder = QFileInfo(program).absolutePath() + "/";
  // The program's icon, installed or beside it in the build tree.
  const TProgramFile icon = FindProgramFile(program_folder.toStdString(), VISTREL_ICON_FROM_BIN,
                                            VISTREL_APP_ID ".svg");

  const std::string folder_path = ShortcutFolderPath(folder, CurrentXdgEnvironment());
  if (folder_path.empty()) {
    ShowErrorBox(parent, "The " + QString::fromLatin1(ShortcutFolderName(folder).data()) +
                             " folder could not be found.\r\nNo Shortcut was created.");
    return;
  }
  const std::string path = folder_path + "/" + kShortcutFileName;
  const QString shown = QString::fromStdString(path);
  std::string error;

  if (ShortcutExists(path)) {
    switch (AskQuestionYesNoCancel(parent, ShortcutQuestion(shown))) {
      case QMessageBox::Yes:
        if (!RemoveShortcut(path, error))
          ShowErrorBox(parent, Failure(shown, "could not be removed", error));
        return;
      case QMessageBox::No:
        break;  // written again below, with the program's present path
      default:
        return;
    }
  }
  if (!EnsureFolder(folder_path, error) ||
      !WriteDesktopEntry(
          path, DesktopEntryText(program.toStdString(), program_folder.toStdString(),
                                 icon.found ? icon.path : std::string()),
          error)) {
    ShowErrorBox(parent, Failure(shown, "could not be created", error));
    return;
  }
  QApplication::processEvents();
}

}  // namespace vistrel
