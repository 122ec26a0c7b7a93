// The unattended save of capture requests and the capture timer: no dialog,
// no picture window.
#pragma once

#include <QString>
#include <string>

#include "imaging/formats/io_params.h"
#include "imaging/picture_bitmap.h"
#include "settings/other_options.h"

class QWidget;

namespace vistrel {

// The writer's parameters as the stored picture-type defaults set them.
TIOParams StoredWriterParameters(const PictureWindowOptions& stored);

// Where an unattended save writes: `path` when given (its extension names
// the format), else the next free name in `folder`, or in AutoFolder when
// `folder` is empty too.
std::string UnattendedSavePath(const TrayOptions& naming, const std::string& path,
                               const std::string& folder);

// Writes `picture` with `params` to `path`. On success shows "Picture Saved
// as \r\n<name>" near the cursor (when `show_info`); on failure beeps and
// shows "The Picture could not be saved as\r\n<path>", and `error` gets the
// writer's words. True when the file was written.
bool SaveUnattended(const TPictureBitmap& picture, const TIOParams& params,
                    const std::string& path, bool show_info, QWidget* parent, std::string& error);

}  // namespace vistrel
