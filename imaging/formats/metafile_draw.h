// Drawing Windows metafiles in this process, with libwmf (WMF) or
// libemf2svg (EMF) and librsvg. These libraries can abort the process or
// loop forever on a damaged file, so the program reaches them only through
// the vistrel-metafile helper (ReadWmf and ReadEmf run it); the fuzzers and
// the helper call them directly.
#pragma once

#include "imaging/formats/format_support.h"
#include "imaging/formats/io_params.h"

namespace vistrel {

void DrawWmf(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void DrawEmf(TByteSpan data, TPictureBitmap& picture, TIOParams& params);

}  // namespace vistrel
