// The unattended save of capture requests and the capture timer: no dialog,
// no picture window.
#pragma once

#include <QString>
#include <string>

#include "imaging/formats/io_params.h"
#include "imaging/formats/picture_file.h"
#include "imaging/picture_bitmap.h"
#include "settings/other_options.h"

namespace vistrel {

// The writer's parameters as the stored picture-type defaults set them.
TIOParams StoredWriterParameters(const PictureWindowOptions& stored);

// Where an unattended save writes: `path` when given (its extension names
// the format), else the next free name in `folder`, or in AutoFolder when
// `folder` is empty too.
std::string UnattendedSavePath(const TrayOptions& naming, const std::string& path,
                               const std::string& folder);

// How an unattended save tells what it did.
struct TUnattendedNotice {
  // On success "Picture Saved as \r\n<name>" near the cursor.
  bool info_popup = false;
  // On failure a beep and "The Picture could not be saved as\r\n<path>";
  // without it only the caller hears.
  bool error_box = true;
  // Private where others may list the folder, for a folder the user did
  // not name for this picture.
  TSaveAccess access = TSaveAccess::kPrivateWhereShared;
};

// Writes `picture` with `params` to `path`. On failure `error` gets the
// writer's words. True when the file was written.
bool SaveUnattended(const TPictureBitmap& picture, const TIOParams& params,
                    const std::string& path, const TUnattendedNotice& notice, std::string& error);

}  // namespace vistrel
