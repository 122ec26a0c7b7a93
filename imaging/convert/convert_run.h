// Running a parsed vistrel-convert command line.
#pragma once

#include <ostream>

#include "imaging/convert/convert_options.h"

namespace vistrel {

// Loads, runs the steps, prints --info, saves. Returns the exit code: 0
// done, 1 when loading, an operation or saving failed (one line on `err`).
int RunConvert(const TConvertOptions& options, std::ostream& out, std::ostream& err);

// "WIDTH HEIGHT BITS COLOURS" of a picture.
std::string PictureInfoLine(const TPictureBitmap& picture);

}  // namespace vistrel
