#include "output/auto_save.h"

#include <QCursor>
#include <QFileInfo>

#include "commands/TInfoForm1.h"
#include "commands/message_boxes.h"
#include "imaging/formats/picture_file.h"
#include "platform/qt/system_colors.h"
#include "settings/file_naming.h"
#include "settings/picture_type_defaults.h"

namespace vistrel {

TIOParams StoredWriterParameters(const PictureWindowOptions& stored) {
  TIOParams params;
  params.Reset();
  ApplyPictureTypeDefaults(stored, params, PaletteSystemColor);
  return params;
}

std::string UnattendedSavePath(const TrayOptions& naming, const std::string& path,
                               const std::string& folder) {
  if (!path.empty()) return path;
  return NextPictureFileName(folder.empty() ? naming.AutoFolder : WithTrailingSeparator(folder),
                             {naming.AutoFileName, naming.AutoNumbering, naming.AutoExtention})
      .path;
}

bool SaveUnattended(const TPictureBitmap& picture, const TIOParams& params,
                    const std::string& path, const TUnattendedNotice& notice, std::string& error) {
  const QString name = QString::fromStdString(path);
  try {
    SavePictureFile(path, picture, params, notice.access);
  } catch (const std::exception& e) {
    error = e.what();
    if (notice.error_box) {
      // The writer's own words go to the log; the box names the path.
      qWarning("Vistrel-Pro: %s", e.what());
      ShowErrorBox(nullptr, "The Picture could not be saved as\r\n" + name);
    }
    return false;
  }
  const QPoint at = QCursor::pos() + QPoint(4, 4);
  ShowInfoPopup(at.x(), at.y(), "Picture Saved as \r\n" + QFileInfo(name).fileName(),
                notice.info_popup);
  return true;
}

}  // namespace vistrel
