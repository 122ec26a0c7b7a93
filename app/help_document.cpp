#include "app/help_document.h"
#include "imaging/program_beside.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "program_info.h"
#include "app/help_window.h"
#include "commands/message_boxes.h"
#include "platform/shortcuts/program_files.h"

namespace vistrel {
namespace {

// xdg-open usually returns at once; one that runs the viewer in the
// foreground is taken as having succeeded after this long.
constexpr int kOpenerBoundMs = 10000;

}  // namespace

QString HelpDocumentPath() {
  const std::string program = StartedProgramPath();
  return QString::fromStdString(
      FindProgramFile(program.substr(0, program.find_last_of('/') + 1), VISTREL_DOC_FROM_BIN,
                      kHelpFileName)
          .path);
}

void ShowHelpWindow(QWidget* parent, const QString& path) {
  if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable()) {
    ShowErrorBox(parent, "The help document\r\n\r\n" + path + "\r\n\r\ncould not be read.");
    return;
  }
  auto* window = new THelpWindow(path, parent);
  window->show();
  window->raise();
  window->activateWindow();
}

void OpenHelpDocument(QWidget* parent, const QString& path) {
  QApplication::processEvents();
  if (!QFileInfo(path).isFile()) {
    ShowErrorBox(parent, "The help document\r\n\r\n" + path + "\r\n\r\nwas not found.");
    return;
  }
  // Watched without waiting: the window keeps answering while the desktop
  // opens the guide, and the program's own window steps in if it cannot.
  auto* opener = new QProcess(qApp);
  auto* bound = new QTimer(opener);
  bound->setSingleShot(true);
  const QPointer<QWidget> owner(parent);
  const bool parented = parent != nullptr;
  auto fall_back = [opener, owner, parented, path] {
    opener->disconnect();
    opener->deleteLater();
    if (parented && !owner) return;  // the window that asked has gone
    ShowHelpWindow(owner, path);
  };
  QObject::connect(opener, &QProcess::errorOccurred, opener,
                   [fall_back](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart) fall_back();
                   });
  QObject::connect(opener, &QProcess::finished, opener,
                   [opener, fall_back](int code, QProcess::ExitStatus status) {
                     if (code != 0 || status != QProcess::NormalExit)
                       fall_back();
                     else
                       opener->deleteLater();
                   });
  QObject::connect(bound, &QTimer::timeout, opener, [opener] {
    // Still running: the viewer took it. Stop watching, let it run on.
    opener->disconnect();
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
  });
  opener->start("xdg-open", {QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded())});
  bound->start(kOpenerBoundMs);
}

}  // namespace vistrel
