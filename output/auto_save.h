// The unattended save of the capture pipeline and the capture timer.
#pragma once

#include <QString>

#include "settings/other_options.h"
#include "imaging/formats/io_params.h"
#include "imaging/picture_bitmap.h"

class QWidget;

namespace vistrel {

// Writes `picture` with `params` to the next free name in AutoFolder. On
// success shows "Picture Saved as \r\n<name>" near the cursor (when
// `show_info`); on failure beeps and shows "The Picture could not be saved
// as\r\n<path>". Returns the path written, or an empty string.
QString AutoSavePicture(const TPictureBitmap& picture, const TIOParams& params,
                        const TrayOptions& naming, bool show_info, QWidget* parent);

}  // namespace vistrel
