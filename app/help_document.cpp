#include "app/help_document.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "commands/message_boxes.h"

namespace vistrel {

QString HelpDocumentPath() {
  return QCoreApplication::applicationDirPath() + "/" + kHelpFileName;
}

void OpenHelpDocument(QWidget* parent, const QString& path) {
  QApplication::processEvents();
  if (!QFileInfo(path).isFile()) {
    ShowErrorBox(parent, "The help document\r\n\r\n" + path + "\r\n\r\nwas not found.");
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
    ShowErrorBox(parent, "The help document\r\n\r\n" + path +
                             "\r\n\r\ncould not be opened: no program to open it was found.");
}

}  // namespace vistrel
