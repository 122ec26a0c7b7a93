#include "output/auto_save.h"

#include <QCursor>
#include <QFileInfo>

#include "commands/message_boxes.h"
#include "commands/TInfoForm1.h"
#include "imaging/formats/picture_file.h"
#include "settings/file_naming.h"

namespace vistrel {

QString AutoSavePicture(const TPictureBitmap& picture, const TIOParams& params,
                        const TrayOptions& naming, bool show_info, QWidget* parent) {
  const TPictureFileName target = NextPictureFileName(
      naming.AutoFolder, {naming.AutoFileName, naming.AutoNumbering, naming.AutoExtention});
  const QString path = QString::fromStdString(target.path);
  try {
    SavePictureFile(target.path, picture, params, TSaveAccess::kPrivateWhereShared);
  } catch (const std::exception& e) {
    // The writer's own words go to the log; the box names the path.
    qWarning("Vistrel-Pro: %s", e.what());
    ShowErrorBox(parent, "The Picture could not be saved as\r\n" + path);
    return {};
  }
  const QPoint at = QCursor::pos() + QPoint(4, 4);
  ShowInfoPopup(at.x(), at.y(), "Picture Saved as \r\n" + QFileInfo(path).fileName(), show_info);
  return path;
}

}  // namespace vistrel
