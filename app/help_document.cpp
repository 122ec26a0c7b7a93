#include "app/help_document.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "program_info.h"
#include "commands/message_boxes.h"
#include "platform/shortcuts/program_files.h"

namespace vistrel {

QString HelpDocumentPath() {
  return QString::fromStdString(FindProgramFile(QCoreApplication::applicationDirPath().toStdString(),
                                                VISTREL_DOC_FROM_BIN, kHelpFileName)
                                    .path);
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
